#include "box/sdlaudio.h"

#include <algorithm>

#include "host/log.h"

namespace
{
// Sound that waits longer than this in SDL's queue is dropped rather than queued:
// the decoder paces itself by the clock, so a queue this long means the sound
// device fell behind, and catching up beats drifting away from the picture.
constexpr double maxQueuedSeconds = 0.5;
} // namespace

SdlAudio::SdlAudio() = default;

SdlAudio::~SdlAudio()
{
	if (m_device)
		SDL_CloseAudioDevice(m_device);
	if (m_started)
		SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::open(std::string &error)
{
	if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
	{
		error = SDL_GetError();
		return false;
	}
	m_started = true;
	return true;
}

int SdlAudio::gainFor(int volume, bool mute)
{
	if (mute)
		return 0;
	// The receiver's steps are attenuation: a square law makes the steps near the
	// quiet end sound as even as those near the loud end.
	int level = 63 - std::clamp(volume, 0, 63);
	return level * level * 65536 / (63 * 63);
}

void SdlAudio::setVolume(int volume, bool mute)
{
	m_gain.store(gainFor(volume, mute));
}

void SdlAudio::play(const AudioChunk &chunk)
{
	if (!m_started || !chunk.samples || chunk.frames <= 0 || chunk.channels <= 0 || chunk.rate <= 0)
		return;
	if (chunk.rate != m_rate || chunk.channels != m_channels)
	{
		// A device that cannot be had is asked for again only when the format changes.
		if (m_device)
			SDL_CloseAudioDevice(m_device);
		m_device = 0;
		m_rate = chunk.rate;
		m_channels = chunk.channels;
		SDL_AudioSpec wanted{};
		wanted.freq = chunk.rate;
		wanted.format = AUDIO_S16SYS;
		wanted.channels = Uint8(chunk.channels);
		wanted.samples = 2048;
		if (chunk.channels <= 8)
			m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
		if (!m_device)
			eWarning("[box] sound: cannot open a device for %d Hz, %d channels: %s", chunk.rate, chunk.channels,
				SDL_GetError());
		else
			SDL_PauseAudioDevice(m_device, 0);
	}
	if (!m_device)
		return;
	size_t count = size_t(chunk.frames) * size_t(chunk.channels);
	size_t bytesPerSecond = size_t(chunk.rate) * size_t(chunk.channels) * sizeof(int16_t);
	if (SDL_GetQueuedAudioSize(m_device) > bytesPerSecond * maxQueuedSeconds)
		return;
	int gain = m_gain.load();
	m_scaled.resize(count);
	for (size_t i = 0; i < count; ++i)
		m_scaled[i] = int16_t(int64_t(chunk.samples[i]) * gain / 65536);
	SDL_QueueAudio(m_device, m_scaled.data(), Uint32(count * sizeof(int16_t)));
}
