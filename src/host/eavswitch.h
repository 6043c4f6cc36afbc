#ifndef HOST_EAVSWITCH_H
#define HOST_EAVSWITCH_H

#include <sigc++/sigc++.h>

// The receiver's audio/video switch: its volume runs from 0 (loudest) to 63
// (silent). Every change, muting included, is announced with (mute, volume).
// GUI thread only.
class eAVSwitch
{
public:
	static eAVSwitch *getInstance();

	enum { modeRelative = 0, modeAbsolute = 1 };
	// mode 0 adds value to the volume, mode 1 sets it; the result is kept in 0..63.
	void changeVolume(int mode, int value);
	void toggleMute();
	int getVolume() const { return volume; }
	bool getMute() const { return mute; }

	sigc::signal<void(int mute, int volume)> volumeChanged;

	// Read directly by the plug-in, as on the receiver.
	int volume = 10;
	bool mute = false;
};

#endif
