#ifndef BOX_REPAINTSCHEDULER_H
#define BOX_REPAINTSCHEDULER_H

#include <cstdint>
#include <functional>
#include <memory>

class eMainloop;

// Decides when the screen is painted after widgets changed. Changes made during
// one turn of the GUI loop are painted together, once, by a closure posted to the
// loop. But the GUI thread can be busy outside the loop for seconds (a stream
// start pre-buffers inside a key handler) while it keeps changing widgets, as the
// progress display does. When a change arrives and the paint it waits for has
// been pending for a frame's time, the turn is taken as busy: that change and
// every later one of the turn are painted at once, so the last step of the
// display shows even when the thread then blocks. GUI thread only.
class RepaintScheduler
{
public:
	// A frame at 25 pictures a second: a paint that has waited this long means
	// the loop is not turning.
	static constexpr int64_t busyAfterMs = 40;

	// paint(busy) draws the screen; busy is true for a paint made at once because
	// the GUI thread is busy. Time is the loop's clock.
	RepaintScheduler(eMainloop *loop, std::function<void(bool busy)> paint);
	~RepaintScheduler();
	RepaintScheduler(const RepaintScheduler &) = delete;
	RepaintScheduler &operator=(const RepaintScheduler &) = delete;

	// Something changed. showsContent is false when the change only takes a window
	// away (hidden or deleted): that waits for the loop even when the GUI thread is
	// busy, because the start sequence hides and shows its bar on every step and
	// painting the gap would only flicker.
	void request(bool showsContent);
	// Paints now when a paint is pending (a snapshot must see every change).
	void flush();
	bool pending() const { return m_pending; }
	uint64_t busyPaints() const { return m_busyPaints; }

private:
	void paint(bool busy);

	eMainloop *m_loop;
	std::function<void(bool)> m_paint;
	bool m_pending = false;
	bool m_busy = false; // this turn has been painted at once before
	int64_t m_pendingSince = 0;
	uint64_t m_busyPaints = 0;
	// Expires with the scheduler, so a posted paint that runs later does nothing.
	std::shared_ptr<char> m_life = std::make_shared<char>(0);
};

#endif
