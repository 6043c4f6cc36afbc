#include "box/presentationclock.h"

PresentationClock::TimePoint PresentationClock::due(int64_t ptsUs, TimePoint now)
{
	int64_t offsetUs = 0;
	// A damaged stamp can be anything; an offset beyond a day is a jump anyway and
	// must not overflow the wall-clock arithmetic.
	const int64_t dayUs = int64_t(86400) * 1000000;
	if (m_anchored && !__builtin_sub_overflow(ptsUs, m_anchorPtsUs, &offsetUs) && offsetUs > -dayUs && offsetUs < dayUs)
	{
		TimePoint at = m_anchorTime + std::chrono::microseconds(offsetUs);
		if (at - now < std::chrono::microseconds(maxAheadUs) && now - at < std::chrono::microseconds(maxLateUs))
			return at;
	}
	m_anchored = true;
	m_anchorPtsUs = ptsUs;
	m_anchorTime = now;
	return now;
}
