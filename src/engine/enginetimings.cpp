#include "engine/enginetimings.h"

#include <mutex>

namespace
{
std::mutex timingsMutex;
EngineTimings current; // -- protected by timingsMutex
} // namespace

EngineTimings engineTimings()
{
	std::lock_guard<std::mutex> lock(timingsMutex);
	return current;
}

void setEngineTimings(const EngineTimings &timings)
{
	std::lock_guard<std::mutex> lock(timingsMutex);
	current = timings;
}
