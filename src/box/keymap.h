#ifndef BOX_KEYMAP_H
#define BOX_KEYMAP_H

#include <SDL_keycode.h>

#include "host/actions.h"

// The PC keyboard as the receiver's remote control, in the box's window:
//   arrows            up, down, left, right
//   Enter             OK                 (the keypad's Enter too)
//   Escape, Backspace Exit
//   F1                Help
//   F5 F6 F7 F8       red, green, yellow, blue
//   r g y b           red, green, yellow, blue
//   0 .. 9            the digits         (the keypad's too)
//   + -               volume up, down    (= counts as +, as on keyboards where + needs Shift)
//   m                 mute
//   p                 snapshot of the screen
struct BoxKey
{
	enum Kind
	{
		none,
		remote,   // a remote-control key: key says which
		snapshot, // write a snapshot
	};
	Kind kind = none;
	RcKey key = RcKey::ok;

	bool operator==(const BoxKey &) const = default;
};

// What a pressed key means; modifiers other than Shift make it mean nothing, so
// the window manager's and the terminal's shortcuts stay theirs.
BoxKey mapKeyboardKey(SDL_Keycode key, Uint16 modifiers);

#endif
