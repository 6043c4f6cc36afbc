#include "box/busycapture.h"

#include <utility>

void BusyCapture::painted(const ScreenFrame &frame, const eString &tree)
{
	m_latest.frame = frame;
	m_latest.tree = tree;
	m_latest.valid = true;
}

void BusyCapture::windowTakenAway()
{
	// Swapped, not copied: the progress display is hidden and shown again at every
	// step, and the next picture overwrites the other buffer anyway.
	if (!m_latest.valid)
		return;
	std::swap(m_latest, m_beforeTakeAway);
	m_latest.valid = false;
}

void BusyCapture::turnEnded()
{
	Shot &chosen = m_beforeTakeAway.valid ? m_beforeTakeAway : m_latest;
	if (chosen.valid)
	{
		std::swap(m_kept, chosen);
		m_keptNew = true;
	}
	m_latest.valid = false;
	m_beforeTakeAway.valid = false;
}
