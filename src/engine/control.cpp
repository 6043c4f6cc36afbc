#include "engine/engine.h"

#include "config/configkeys.h"
#include "host/econfig.h"
#include "host/log.h"
#include "vlc/vlcdialect.h"

namespace
{
const char *const pathStop = "requests/status.xml?command=pl_stop";
const char *const pathEmpty = "requests/status.xml?command=pl_empty";
const char *const pathPause = "requests/status.xml?command=pl_pause";

// Pure-audio inputs need a far smaller pre-buffer than video.
constexpr int audioBufferUnit = 8000;

bool isPureAudio(const eString &file)
{
	eString ext = file.right(3).upper();
	return ext == "MP3" || ext == "WMA" || ext == "WAV" || ext == "OGG";
}

// The buffer-size setting in stream blocks; a value out of range reads as the default.
int bufferBlocks()
{
	int blocks = configdefault::buffersize;
	eConfig::getInstance()->getKey(configkey::buffersize, blocks);
	if (blocks < configdefault::buffersizeMin || blocks > configdefault::buffersizeMax)
		blocks = configdefault::buffersize;
	return blocks;
}
} // namespace

void eQUELTEngine::control(eString command, eString file, int number)
{
	if (command.find("start") != eString::npos || command == "stop" || command == "terminate")
	{
		config.load();
		setActiveServer(config.getServerConfig());
		chooseVlcDialect(config.getServerConfig(), false);
	}

	if (command == "compdest")
		closeCompression();

	isStream = true;
	int blocks = bufferBlocks();
	BLOCKSIZE = videoBlockSize;

	if (isPureAudio(file))
	{
		eDebug("[quelt]: pure audio detected. decreasing buffer size");
		isStream = false;
		INITIALBUFFER = blocks * audioBufferUnit;
	}
	else
	{
		isStream = true;
		INITIALBUFFER = blocks * videoBlockSize;
	}
	eDebug("[quelt]: INITIALBUFFER SIZE = %d", INITIALBUFFER.load());
	// A receiver that holds on a full buffer looks at the new limit.
	wakeStreamThreads();

	// The results of the simple requests are not examined: an unreachable VLC
	// leaves the status as it was.
	if (command == "start2")
		playNow(file, false, 0);
	else if (command == "start3")
		playNow(file, true, number);
	else if (command == "stop" || command == "terminate")
		stopNow();
	else if (command == "rew")
		sendRequest2VLC_stream(eString::format("requests/status.xml?command=seek&val=%%2D%dm", number));
	else if (command == "ffw")
		sendRequest2VLC_stream(eString::format("requests/status.xml?command=seek&val=%%2B%dm", number));
	else if (command == "srew" || command == "sffw")
		// VLC stops sending; the feeder sees the stream run dry and ends the
		// play-back, and the main window then starts the entry it has chosen.
		sendRequest2VLC_stream(pathStop);
	else if (command == "play")
	{
		// VLC drops a client that received nothing for a while, so after a pause
		// the stream is fetched over a new connection.
		sendRequest2VLC_stream(pathPause);
		retireStreamConnection(streamFd.exchange(-1));
		if (requestStream() < 0)
			setErrorStatus();
	}
	else if (command == "pause")
		sendRequest2VLC_stream(pathPause);
	else if (command == "leave")
	{
		sendRequest2VLC_stream(pathStop);
		waitMs(20);
		sendRequest2VLC_stream(pathEmpty);
		waitMs(20);
	}
}
