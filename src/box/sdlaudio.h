#ifndef BOX_SDLAUDIO_H
#define BOX_SDLAUDIO_H

#include <SDL.h>

#include <atomic>
#include <string>
#include <vector>

#include "box/boxdecoder.h"

// The decoder's sound through SDL, at the receiver's volume. play() runs on the
// decoder thread (it is the decoder's audio sink); setVolume on the GUI thread.
class SdlAudio
{
public:
	SdlAudio();
	~SdlAudio();
	SdlAudio(const SdlAudio &) = delete;
	SdlAudio &operator=(const SdlAudio &) = delete;

	// Starts SDL's sound. False with error set when the PC has no sound device.
	bool open(std::string &error);
	// Queues a piece of sound; a change of rate or channels reopens the device.
	void play(const AudioChunk &chunk);
	// The receiver's volume: 0 is loudest, 63 silent.
	void setVolume(int volume, bool mute);

	// The factor (out of 65536) a volume gives the samples.
	static int gainFor(int volume, bool mute);

private:
	bool m_started = false;
	std::atomic<int> m_gain{65536};

	// -- The decoder thread's, while this is the decoder's sink.
	SDL_AudioDeviceID m_device = 0;
	int m_rate = 0;
	int m_channels = 0;
	std::vector<int16_t> m_scaled;
};

#endif
