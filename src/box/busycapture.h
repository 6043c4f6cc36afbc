#ifndef BOX_BUSYCAPTURE_H
#define BOX_BUSYCAPTURE_H

#include "box/compositor.h"
#include "host/estring.h"

// What the screen showed while the GUI thread was busy outside its loop, kept for
// the next snapshot: a key script runs only when the loop turns, so it can never
// see the pre-buffering display itself.
//
// Of the pictures painted during one busy turn, the one kept is the last before
// a window was taken away, or the last of all when none was: the start sequence
// ends by taking its progress display away, and what it shows after that (the
// volume display, say) says nothing about the busy time. GUI thread only.
class BusyCapture
{
public:
	// A picture painted at once while busy, with the widget tree it shows.
	void painted(const ScreenFrame &frame, const eString &tree);
	// A window is being hidden or deleted while busy.
	void windowTakenAway();
	// The loop turns again: the busy turn's picture is chosen.
	void turnEnded();

	// Whether a picture is kept that no snapshot has written yet.
	bool available() const { return m_keptNew; }
	const ScreenFrame &frame() const { return m_kept.frame; }
	const eString &tree() const { return m_kept.tree; }
	// A snapshot has written the kept picture.
	void written() { m_keptNew = false; }

private:
	struct Shot
	{
		ScreenFrame frame;
		eString tree;
		bool valid = false;
	};
	// -- Of the busy turn in progress.
	Shot m_latest;
	Shot m_beforeTakeAway;
	// -- For the next snapshot.
	Shot m_kept;
	bool m_keptNew = false;
};

#endif
