#include "engine/engine.h"

std::atomic<bool> isStream{true};
std::atomic<bool> audioOnly{false};
std::atomic<int> BLOCKSIZE{videoBlockSize};
std::atomic<int> INITIALBUFFER{15 * videoBlockSize};
// Chunks of four blocks, so a chunk holds whole transport packets.
eIOBuffer tsBuffer_Stream(4 * videoBlockSize);
std::mutex bufferMutex;
std::condition_variable bufferChanged;
std::atomic<int> streamFd{-1};
std::atomic<int> pvrFd{-1};
std::thread receiver;
std::thread pvr;
StopToken receiverStop;
StopToken pvrStop;
std::atomic<unsigned long> receiverPasses{0};
std::atomic<unsigned long> feederPasses{0};
std::atomic<int> retryC{0};
std::atomic<bool> paused1{false};
gPixmap *s_statp = nullptr;
eLabel *v_progress = nullptr;
eProgress *s_stat = nullptr;
eLabel *epT = nullptr;
std::atomic<unsigned> progressDisplaySerial{0};

void wakeStreamThreads()
{
	{
		// Taken and released so that a thread between the check of its wait
		// condition and its wait cannot miss the notification.
		std::lock_guard<std::mutex> lock(bufferMutex);
	}
	bufferChanged.notify_all();
	receiverStop.wake();
}
