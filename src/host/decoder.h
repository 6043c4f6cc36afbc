#ifndef HOST_DECODER_H
#define HOST_DECODER_H

#include <mutex>
#include <string>
#include <vector>

// What the decoder is told to play. Audio type: 0 MPEG audio, 1 AC3, 3 the
// receiver's alternative AC3 setting. A PID of -1 means none.
struct decoderParameters
{
	int vpid = -1, apid = -1, tpid = -1, pcrpid = -1;
	int audio_type = 0;
};

// The hardware behind the decoder calls. The box implements it with a real
// software decoder reading /dev/pvr; without one the calls are only recorded.
class DecoderBackend
{
public:
	virtual ~DecoderBackend() = default;
	virtual void set(const decoderParameters &parms) = 0;
	virtual void flush() = 0;
	virtual void pause() = 0;
	virtual void resume() = 0;
};

// The receiver's MPEG decoder. Set, Flush and the buffer flushes come from the GUI
// thread, Pause and Resume from the feeder thread; every call is serialised.
class Decoder
{
public:
	static decoderParameters parms;

	static int Set();
	static void Flush();
	static void flushBuffer();
	static void flushClipBuffer();
	static void Pause(int how);
	static void Resume(bool force);

	static void setBackend(DecoderBackend *backend);
	// The calls made so far ("Set 100 200 0", "Pause", ...), for tests and the log.
	static std::vector<std::string> history();
	static void clearHistory();
	static bool isPaused();
};

#endif
