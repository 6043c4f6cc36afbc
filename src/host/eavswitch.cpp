#include "host/eavswitch.h"

eAVSwitch *eAVSwitch::getInstance()
{
	static eAVSwitch instance;
	return &instance;
}

void eAVSwitch::changeVolume(int mode, int value)
{
	int v = mode == modeAbsolute ? value : volume + value;
	if (v < 0)
		v = 0;
	if (v > 63)
		v = 63;
	volume = v;
	volumeChanged(mute ? 1 : 0, volume);
}

void eAVSwitch::toggleMute()
{
	mute = !mute;
	volumeChanged(mute ? 1 : 0, volume);
}
