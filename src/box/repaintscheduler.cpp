#include "box/repaintscheduler.h"

#include "host/mainloop.h"

RepaintScheduler::RepaintScheduler(eMainloop *loop, std::function<void(bool)> paint)
	: m_loop(loop), m_paint(std::move(paint))
{
}

RepaintScheduler::~RepaintScheduler() = default;

void RepaintScheduler::request(bool showsContent)
{
	if (!m_pending)
	{
		m_pending = true;
		m_busy = false;
		m_pendingSince = m_loop->nowMs();
		std::weak_ptr<char> alive = m_life;
		m_loop->post([this, alive] {
			if (!alive.expired() && m_pending)
				paint(false);
		});
		return;
	}
	if (!showsContent || (!m_busy && m_loop->nowMs() - m_pendingSince < busyAfterMs))
		return;
	// The posted paint stays pending: it still paints what changes after this.
	m_busy = true;
	++m_busyPaints;
	m_paint(true);
}

void RepaintScheduler::flush()
{
	if (m_pending)
		paint(false);
}

void RepaintScheduler::paint(bool busy)
{
	m_pending = false;
	m_paint(busy);
}
