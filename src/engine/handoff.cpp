// The last step of a start: the stream connection, pre-buffering, the PID
// search, and the hand-off of the stream to the decoder and the worker threads.

#include "engine/engine.h"

#include "config/configkeys.h"
#include "host/decoder.h"
#include "host/econfig.h"
#include "host/eservice.h"
#include "host/log.h"

int eQUELTEngine::audioType(const eString &mrl, int ac3, int ac3default)
{
	if (ac3 != 1 && ac3default == 0)
		return 0;
	// DVD material takes the receiver's other AC3 setting. The comparisons are
	// exact: a name in capitals is no DVD by this rule.
	eString last = mrl.size() <= 3 ? mrl : mrl.right(3);
	eString first = mrl.size() <= 3 ? mrl : mrl.left(3);
	return (last == "vob" || first == "dvd") ? 3 : 1;
}

int eQUELTEngine::playStream(eString mrl)
{
	int vpid = -1, apid = -1, ac3 = -1;
	// Pure audio pre-buffers half a video block, whatever the buffer setting.
	if (!isStream)
		INITIALBUFFER = videoBlockSize / 2;
	{
		std::lock_guard<std::mutex> lock(bufferMutex);
		tsBuffer_Stream.clear();
	}

	if (requestStream() < 0)
		return -1;
	updateBufferingInfos(8);

	int target = INITIALBUFFER;
	int held = bufferVLC(streamFd, target);
	if (held < target / 2)
	{
		eDebug("[quelt]: too little data for a start: %d of %d bytes", held, target);
		retireStreamConnection(streamFd.exchange(-1));
		return -4;
	}

	{
		std::lock_guard<std::mutex> lock(bufferMutex);
		find_avpids_stream(&tsBuffer_Stream, &vpid, &apid, &ac3);
	}
	if ((isStream && vpid == -1) || apid == -1)
	{
		eDebug("[quelt]: no PIDs in the stream: video %d, audio %d", vpid, apid);
		retireStreamConnection(streamFd.exchange(-1));
		return -5;
	}
	eDebug("[quelt]: audiopid: %d", apid);
	updateBufferingInfos(94);

	Decoder::flushClipBuffer();
	Decoder::flushBuffer();
	eServiceInterface::getInstance()->stop(0);
	Decoder::Flush();
	updateBufferingInfos(95);

	int ac3default = 0;
	eConfig::getInstance()->getKey(configkey::ac3default, ac3default);
	updateBufferingInfos(98);

	Decoder::parms.audio_type = audioType(mrl, ac3, ac3default);
	if (isStream)
		Decoder::parms.vpid = vpid;
	Decoder::parms.apid = apid;
	updateBufferingInfos(100);
	waitMs(100);
	Decoder::Set();

	// Set before the feeder starts, which chooses its end-of-stream wait by it.
	if (!isStream)
		checkCompression();
	createThreads_stream();
	status = STATUS_STARTED;
	hideProgressDisplay();
	return 0;
}
