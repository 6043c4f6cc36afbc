#include "box/repaintscheduler.h"

#include "host/mainloop.h"

RepaintScheduler::RepaintScheduler(eMainloop *loop, std::function<void(bool)> paint)
	: m_loop(loop), m_paint(std::move(paint))
{
}

RepaintScheduler::~RepaintScheduler() = default;

void RepaintScheduler::request(bool showsContent)
{
	int64_t now = m_loop->nowMs();
	if (!m_pending)
	{
		m_pending = true;
		m_pendingSince = now;
		std::weak_ptr<char> alive = m_life;
		m_loop->post([this, alive] {
			if (!alive.expired() && m_pending)
				paint(false);
		});
		return;
	}
	if (showsContent && now - m_pendingSince >= busyAfterMs)
	{
		// The posted paint stays pending: it still paints what changes after this.
		m_pendingSince = now;
		++m_busyPaints;
		m_paint(true);
	}
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
