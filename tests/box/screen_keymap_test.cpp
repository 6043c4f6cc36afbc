// The PC keyboard as the remote control in the box's window.

#include <gtest/gtest.h>

#include "box/keymap.h"

TEST(KeyMap, EveryKeyOfTheMapMeansItsRemoteControlKey)
{
	struct Case
	{
		SDL_Keycode key;
		Uint16 modifiers;
		BoxKey expected;
	};
	auto rc = [](RcKey k) { return BoxKey{BoxKey::remote, k}; };
	const BoxKey nothing{};
	const Case cases[] = {
		{SDLK_UP, 0, rc(RcKey::up)},
		{SDLK_DOWN, 0, rc(RcKey::down)},
		{SDLK_LEFT, 0, rc(RcKey::left)},
		{SDLK_RIGHT, 0, rc(RcKey::right)},
		{SDLK_RETURN, 0, rc(RcKey::ok)},
		{SDLK_KP_ENTER, 0, rc(RcKey::ok)},
		{SDLK_ESCAPE, 0, rc(RcKey::exit)},
		{SDLK_BACKSPACE, 0, rc(RcKey::exit)},
		{SDLK_F1, 0, rc(RcKey::help)},
		{SDLK_F5, 0, rc(RcKey::red)},
		{SDLK_F6, 0, rc(RcKey::green)},
		{SDLK_F7, 0, rc(RcKey::yellow)},
		{SDLK_F8, 0, rc(RcKey::blue)},
		{SDLK_r, 0, rc(RcKey::red)},
		{SDLK_g, 0, rc(RcKey::green)},
		{SDLK_y, 0, rc(RcKey::yellow)},
		{SDLK_b, KMOD_LSHIFT, rc(RcKey::blue)},
		{SDLK_0, 0, rc(RcKey::digit0)},
		{SDLK_7, 0, rc(RcKey::digit7)},
		{SDLK_9, 0, rc(RcKey::digit9)},
		{SDLK_KP_0, 0, rc(RcKey::digit0)},
		{SDLK_KP_5, 0, rc(RcKey::digit5)},
		{SDLK_PLUS, 0, rc(RcKey::volumeUp)},
		{SDLK_EQUALS, KMOD_LSHIFT, rc(RcKey::volumeUp)},
		{SDLK_KP_PLUS, 0, rc(RcKey::volumeUp)},
		{SDLK_MINUS, 0, rc(RcKey::volumeDown)},
		{SDLK_KP_MINUS, 0, rc(RcKey::volumeDown)},
		{SDLK_m, 0, rc(RcKey::mute)},
		{SDLK_p, 0, BoxKey{BoxKey::snapshot, RcKey::ok}},
		// Keys outside the map, and shortcuts of the desktop, mean nothing.
		{SDLK_q, 0, nothing},
		{SDLK_F2, 0, nothing},
		{SDLK_TAB, 0, nothing},
		{SDLK_r, KMOD_LCTRL, nothing},
		{SDLK_RETURN, KMOD_LALT, nothing},
		{SDLK_p, KMOD_RGUI, nothing},
	};
	for (const Case &c : cases)
		EXPECT_EQ(mapKeyboardKey(c.key, c.modifiers), c.expected) << "key " << c.key << " modifiers " << c.modifiers;
}
