// The start sequence: VLC's play list is emptied, VLC is asked for the input
// transcoded into a transport stream on its stream port, and the stream is
// started, with up to two retries.

#include "engine/engine.h"

#include "host/log.h"
#include "vlc/vlcdialect.h"

namespace
{
const char *const pathStop = "requests/status.xml?command=pl_stop";
const char *const pathEmpty = "requests/status.xml?command=pl_empty";
// At most this many retries follow a failed first attempt.
constexpr int maxRetries = 2;

bool endsWithAny(const eString &text, std::initializer_list<const char *> endings)
{
	eString last = text.right(3);
	for (const char *ending : endings)
		if (last == ending)
			return true;
	return false;
}
} // namespace

eString eQUELTEngine::sout_stream(eString mrl)
{
	eString chain = "#";
	isStream = true;

	// The extension of a quoted name: what follows the last "%" or "2", which in
	// film%2eavi is the text after the escaped dot. The rule is VLC's old one and
	// is kept as it is, odd results for names with a 2 in them included.
	long p = -1;
	size_t found = mrl.find_last_of("%2");
	if (found != eString::npos)
		p = static_cast<long>(found);
	long count = static_cast<long>(mrl.size()) - p - 2;
	eString extension = (count < 0 || count >= static_cast<long>(mrl.size())) ? mrl : mrl.right(count);
	eDebug("[quelt]: extension of mrl: %s", extension.c_str());

	eString category = "File";
	if (mrl.find("dvdsimple:") != eString::npos)
	{
		category = "DVD";
		extension = "NONE";
	}
	else if (mrl.find("vcd:") != eString::npos)
	{
		category = "VCD";
		extension = "NONE";
	}
	extension = extension.upper();
	if (endsWithAny(extension, {"BIN", "IMG", "ISO"}))
	{
		category = "VCD";
		extension = "NONE";
	}
	if (endsWithAny(extension, {"MP3", "WMA", "WAV", "OGG"}))
		isStream = false;

	serverConfig_stream server = config.getServerConfig();
	videoTypeParms_stream setup = config.getVideoParms(category, extension);

	size_t x = setup.videosize.find('x');
	eString width = x == eString::npos ? setup.videosize : setup.videosize.left(x);
	eString height = x == eString::npos ? setup.videosize : setup.videosize.mid(x + 1);

	eString audioPart = "acodec=mpga,ab=" + setup.audiorate + ",channels=2";
	if (!isStream)
		chain += "transcode{" + audioPart + "}:";
	else if (setup.videotranscode || setup.audiotranscode)
	{
		chain += "transcode{";
		if (setup.videotranscode)
		{
			chain += "vcodec=" + setup.videocodec;
			if (setup.soutadd.size() > 1)
				chain += "," + setup.soutadd;
			chain += ",vb=" + setup.videorate + ",width=" + width + ",height=" + height + ",fps=" + setup.fps;
		}
		if (setup.audiotranscode)
		{
			if (setup.videotranscode)
				chain += ",";
			chain += audioPart;
		}
		chain += ",audio-sync}:";
	}
	chain += "std{access=http,mux=ts,dst=:" + server.streamPort + "/dboxstream}";

	eString path = activeVlcDialect().playRequest(mrl, chain);
	eDebug("[quelt]: sout: %s", path.c_str());
	return path;
}

void eQUELTEngine::playNow(eString mrl, bool withSeek, int minutes)
{
	// Worker threads of an earlier play-back are collected before anything else:
	// normally they have ended already, but a feeder still running would reset
	// the status and remove the display of this start in its clean-up.
	killThreads_stream();
	{
		std::lock_guard<std::mutex> lock(bufferMutex);
		tsBuffer_Stream.clear();
	}

	createProgressDisplay();
	status = STATUS_PLAYING;

	if (sendRequest2VLC_stream(pathStop) < 0)
		setErrorStatus();
	updateBufferingInfos(2);
	waitMs(20);

	if (sendRequest2VLC_stream(pathEmpty) < 0)
		setErrorStatus();
	updateBufferingInfos(4);
	waitMs(20);

	if (sendRequest2VLC_stream(sout_stream(mrl)) < 0)
		setErrorStatus();

	if (withSeek)
	{
		waitMs(100);
		if (sendRequest2VLC_stream(eString::format("requests/status.xml?command=seek&val=%%2B%dm", minutes)) < 0)
			setErrorStatus();
		waitMs(300);
	}
	else
		waitMs(20);
	updateBufferingInfos(6);

	if (playStream(mrl) < 0)
	{
		if (retryC >= maxRetries)
		{
			eDebug("[quelt]: stream could not be started");
			setErrorStatus();
		}
		else
		{
			hideProgressDisplay();
			++retryC;
			eDebug("[quelt]: stream could not be started, retry %d", retryC.load());
			control(withSeek ? "start3" : "start2", mrl, minutes);
		}
	}
	retryC = 0;
}
