#include "host/decoder.h"

#include "host/estring.h"

decoderParameters Decoder::parms;

namespace
{
std::mutex decoderMutex;
DecoderBackend *backend = nullptr; // -- protected by decoderMutex, as are the two below
std::vector<std::string> calls;
bool paused = false;

void record(const std::string &call)
{
	calls.push_back(call);
	// The history is diagnostic; keep it from growing without end in a long run.
	if (calls.size() > 1000)
		calls.erase(calls.begin(), calls.begin() + 500);
}
} // namespace

int Decoder::Set()
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	decoderParameters p = parms;
	record(eString::format("Set %d %d %d", p.vpid, p.apid, p.audio_type));
	paused = false;
	if (backend)
		backend->set(p);
	return 0;
}

void Decoder::Flush()
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	record("Flush");
	if (backend)
		backend->flush();
}

void Decoder::flushBuffer()
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	record("flushBuffer");
}

void Decoder::flushClipBuffer()
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	record("flushClipBuffer");
}

void Decoder::Pause(int)
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	record("Pause");
	paused = true;
	if (backend)
		backend->pause();
}

void Decoder::Resume(bool)
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	record("Resume");
	paused = false;
	if (backend)
		backend->resume();
}

void Decoder::setBackend(DecoderBackend *b)
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	backend = b;
}

std::vector<std::string> Decoder::history()
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	return calls;
}

void Decoder::clearHistory()
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	calls.clear();
}

bool Decoder::isPaused()
{
	std::lock_guard<std::mutex> lock(decoderMutex);
	return paused;
}
