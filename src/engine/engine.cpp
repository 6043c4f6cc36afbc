#include "engine/engine.h"

#include <chrono>
#include <thread>

#include "host/log.h"

eQUELTEngine *eQUELTEngine::getInstance()
{
	// Never destroyed: a worker thread may still reach the engine while the
	// process ends.
	static eQUELTEngine *instance = new eQUELTEngine;
	return instance;
}

eQUELTEngine::eQUELTEngine() = default;

void eQUELTEngine::setErrorStatus()
{
	int current = status;
	// A failed request during a start (STATUS_PLAYING) does not end that start,
	// so its progress display stays up; while idle there is none.
	if (current != STATUS_PLAYING && current != STATUS_IDLE)
		hideProgressDisplay();
	status = STATUS_ERROR;
}

void eQUELTEngine::checkCompression()
{
	audioOnly = true;
}

void eQUELTEngine::closeCompression()
{
	audioOnly = false;
	eDebug("[quelt]: leaving vdc");
}

serverConfig_stream eQUELTEngine::activeServerCopy()
{
	std::lock_guard<std::mutex> lock(serverMutex);
	return activeServer;
}

void eQUELTEngine::setActiveServer(const serverConfig_stream &server)
{
	std::lock_guard<std::mutex> lock(serverMutex);
	activeServer = server;
}

void eQUELTEngine::waitMs(int ms)
{
	std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
