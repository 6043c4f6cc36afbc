#ifndef ENGINE_ENGINE_H
#define ENGINE_ENGINE_H

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "config/equeltconfig.h"
#include "engine/enginestatus.h"
#include "engine/stoptoken.h"
#include "host/eiobuffer.h"
#include "host/estring.h"

class eLabel;
class eProgress;
class gPixmap;

// The engine's play status. The main window, the engine and its two worker
// threads all read and write it.
enum
{
	STATUS_IDLE = 0,    // no playback; the worker threads are not running
	STATUS_ERROR = 1,   // a request to VLC or the stream failed
	STATUS_PLAYING = 2, // starting, pre-buffering or playing
	STATUS_PAUSED = 3,  // the worker threads hold and the decoder is paused
	STATUS_STARTED = 8, // the decoder has just been given the stream
	STATUS_CLOSING = 9, // the main window is about to stop the engine
};

// -- The shared state of the streaming unit: one set for the whole plug-in.
// Words that the worker threads share with the GUI thread are atomic.

// True for material with video, false for pure audio.
extern std::atomic<bool> isStream;
// True while a pure-audio stream plays (checkCompression/closeCompression).
extern std::atomic<bool> audioOnly;
// Bytes of one read from the stream socket and of one write to /dev/pvr.
extern std::atomic<int> BLOCKSIZE;
// The pre-buffer target and the receiver's fill limit, in bytes.
extern std::atomic<int> INITIALBUFFER;
// The stream between the receiver and the feeder thread. Every operation on it
// is made with bufferMutex held, and the mutex is never held across a socket or
// device call.
extern eIOBuffer tsBuffer_Stream;
extern std::mutex bufferMutex;
// The transport stream's TCP connection and /dev/pvr; -1 when closed.
extern std::atomic<int> streamFd;
extern std::atomic<int> pvrFd;
// The receiver and feeder threads; not joinable when not running. Only the GUI
// thread starts them. The feeder's clean-up collects the receiver; the GUI thread
// touches the receiver's handle only after it has collected the feeder.
extern std::thread receiver;
extern std::thread pvr;
// Retries of the current start.
extern std::atomic<int> retryC;
// The feeder thread has paused the decoder; written by the feeder only.
extern std::atomic<bool> paused1;
// The pre-buffering progress display: the bar's picture, the label that shows
// it, the progress frame and the percentage text. Top-level widgets, touched on
// the GUI thread only; null when there is none.
extern gPixmap *s_statp;
extern eLabel *v_progress;
extern eProgress *s_stat;
extern eLabel *epT;
// Counts the progress displays made, so that a removal posted from a worker
// thread can tell whether the display it meant is still the current one.
extern std::atomic<unsigned> progressDisplaySerial;

// The block size for video: 1392 transport packets of 188 bytes.
constexpr int videoBlockSize = 261696;

// -- How the worker threads wait. Both block on bufferChanged (with bufferMutex)
// while they have nothing to do: the feeder while the buffer is empty or the
// status is STATUS_PAUSED, the receiver while the buffer is full, paused, or its
// connection has ended. Every change they wait for is announced on it.
extern std::condition_variable bufferChanged;
// The stop requests of the two threads. The receiver's descriptor doubles as its
// wake-up while it waits in poll on the socket.
extern StopToken receiverStop;
extern StopToken pvrStop;
// Wakes both worker threads wherever they wait, after a change of the status, the
// buffer sizes, the connection or a stop request. Not with bufferMutex held.
void wakeStreamThreads();
// Passes through the worker loops. They stand still while a thread holds, which
// is how a test sees that no thread spins.
extern std::atomic<unsigned long> receiverPasses;
extern std::atomic<unsigned long> feederPasses;

// -- The stream connection.
// Makes fd the stream connection; a connection it replaces is retired.
void installStreamConnection(int fd);
// Closes a stream connection that is no longer wanted. While the receiver runs it
// may still be polling that descriptor, so the receiver closes it itself.
void retireStreamConnection(int fd);
// True when the sender has closed the current stream connection (or there is
// none), so no more data will come.
bool streamSenderClosed();
// Hands the stream connections to the receiver that is about to start: from now
// on it closes those that are retired. Its clean-up takes them back.
void beginReceiving_stream();

// -- Shared by the worker threads.
// The size of one read from the socket and one write to /dev/pvr for the stream
// as it is now: a video block, or a quarter of the pre-buffer target for pure audio.
int streamBlockSize_stream();
// Raises the calling thread's priority one step, where the system allows it.
void raisePriority_stream();

// -- The raw HTTP client and the worker threads of the streaming unit.

// The port number in its decimal text; 0 when it is none.
int portNumber_stream(const eString &text);
// A connected, non-blocking TCP socket to address (dotted IPv4, no name lookup)
// and port, trying up to seconds x 100 times 40 ms apart; -1 when none came.
int tcpOpen_stream(eString address, int port, int seconds);
// Pre-buffers from socket into tsBuffer_Stream until it holds target bytes or
// the data stops; the bytes then held.
int bufferVLC(int socket, int target);
// Thread bodies and their clean-ups; the argument points to streamFd or pvrFd.
// A body ends when its stop token is set (or, for the feeder, at the end of the
// stream) and then runs its clean-up itself.
void receiverThread_stream(std::atomic<int> *fd);
void receiverThreadCleanup_stream(std::atomic<int> *fd);
void pvrThread_stream(std::atomic<int> *fd);
void pvrThreadCleanup_stream(std::atomic<int> *fd);
// Starts whichever worker threads are not running.
void createThreads_stream();
// End one worker thread and wait for it; nothing when it is not running.
void killPVRThread_stream();
void killReceiverThread_stream();
// The feeder first (its clean-up ends the receiver), then the receiver.
void killThreads_stream();

// Where a caller runs, for work that must reach the GUI thread.
enum class OnThread
{
	gui,
	worker,
};

// The streaming engine: takes the main window's command words, asks VLC for a
// transcoded stream, pre-buffers it and feeds it to the decoder.
//
// The receiver's platform gives this class a thread and a main loop of its
// own, but neither is ever started: every engine operation runs on the thread
// that calls it (the GUI thread for control, a worker thread for the clean-up
// at the end of a stream). So the engine has no such bases here.
class eQUELTEngine
{
public:
	// The one engine, created on the first call and never destroyed.
	static eQUELTEngine *getInstance();

	// Runs one command word. file is the quoted input name for "start2" and
	// "start3" and "nofile" otherwise; number is a count of minutes where the word
	// uses one. Failures show in status.
	void control(eString command, eString file, int number);
	void setErrorStatus();
	// Mark and unmark a pure-audio stream.
	void checkCompression();
	void closeCompression();
	// Undoes URL escapes (%XX, and + for a space).
	eString unquote(const eString &text);

	// -- The start sequence: VLC's play list, the transcoding request, the stream.
	void playNow(eString mrl, bool withSeek, int minutes);
	eString sout_stream(eString mrl);
	// One request to VLC's web interface (path without the leading slash): 0 when
	// the answer holds "HTTP/1.0 200 OK", negative otherwise.
	int sendRequest2VLC_stream(eString path);
	// Writes the zero-terminated request in buffer to socket and reads the answer
	// into buffer, at most size - 1 bytes and a terminating zero (the buffer holds
	// at least size bytes). 0 when an answer came, -1 when none came in 3 seconds.
	int tcpRequest_stream(int socket, char *buffer, int size);
	// Opens the stream connection into streamFd; 0 or negative.
	int requestStream();
	void find_avpids_stream(eIOBuffer *buffer, int *vpid, int *apid, int *ac3);
	// The 13-bit PID from the two bytes after a packet's sync byte.
	int get_pid_stream(const unsigned char *p);
	void updateBufferingInfos(int percent);
	// The decoder's audio type for the stream's AC3 flag, the receiver's AC3
	// preference and the input name: 0 MPEG audio, 1 AC3, 3 AC3 of a DVD.
	static int audioType(const eString &mrl, int ac3, int ac3default);
	// Pre-buffers, finds the PIDs, hands the stream to the decoder and starts the
	// worker threads: 0, or -1 (no stream), -4 (too little data), -5 (no PIDs).
	int playStream(eString mrl);
	// Resets the box side after a play-back and sets STATUS_IDLE. From a worker
	// thread the removal of the progress display is handed to the GUI loop.
	void leaveStreamingClient_stream(OnThread thread = OnThread::gui);
	// Ends a play-back on request ("stop", "terminate").
	void stopNow();

	// Every assignment wakes the worker threads (see EngineStatus).
	EngineStatus status{STATUS_IDLE, &wakeStreamThreads};
	// The active server set as of the last command that reloaded the settings.
	// Written on the GUI thread; the feeder's clean-up reads it too, so both sides
	// go through serverMutex (see activeServerCopy).
	serverConfig_stream activeServer;
	eQUELTConfig config;

private:
	eQUELTEngine();
	~eQUELTEngine() = default;
	eQUELTEngine(const eQUELTEngine &) = delete;
	eQUELTEngine &operator=(const eQUELTEngine &) = delete;

	serverConfig_stream activeServerCopy();
	void setActiveServer(const serverConfig_stream &server);
	// The fixed pauses between requests to VLC.
	static void waitMs(int ms);

	// The progress display: made afresh for each start (an earlier one is
	// deleted), hidden after the start, deleted when the play-back ends.
	void createProgressDisplay();
	void hideProgressDisplay();
	static void deleteProgressDisplay();
	std::mutex serverMutex;
};

#endif
