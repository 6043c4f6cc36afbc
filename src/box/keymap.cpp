#include "box/keymap.h"

namespace
{
BoxKey remote(RcKey key)
{
	return BoxKey{BoxKey::remote, key};
}
} // namespace

BoxKey mapKeyboardKey(SDL_Keycode key, Uint16 modifiers)
{
	if (modifiers & (KMOD_CTRL | KMOD_ALT | KMOD_GUI))
		return BoxKey{};
	if (key >= SDLK_0 && key <= SDLK_9)
		return remote(RcKey(int(RcKey::digit0) + (key - SDLK_0)));
	if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
		return remote(RcKey(int(RcKey::digit1) + (key - SDLK_KP_1)));
	switch (key)
	{
	case SDLK_UP:
		return remote(RcKey::up);
	case SDLK_DOWN:
		return remote(RcKey::down);
	case SDLK_LEFT:
		return remote(RcKey::left);
	case SDLK_RIGHT:
		return remote(RcKey::right);
	case SDLK_RETURN:
	case SDLK_KP_ENTER:
		return remote(RcKey::ok);
	case SDLK_ESCAPE:
	case SDLK_BACKSPACE:
		return remote(RcKey::exit);
	case SDLK_F1:
		return remote(RcKey::help);
	case SDLK_F5:
	case SDLK_r:
		return remote(RcKey::red);
	case SDLK_F6:
	case SDLK_g:
		return remote(RcKey::green);
	case SDLK_F7:
	case SDLK_y:
		return remote(RcKey::yellow);
	case SDLK_F8:
	case SDLK_b:
		return remote(RcKey::blue);
	case SDLK_KP_0:
		return remote(RcKey::digit0);
	case SDLK_PLUS:
	case SDLK_KP_PLUS:
	case SDLK_EQUALS:
		return remote(RcKey::volumeUp);
	case SDLK_MINUS:
	case SDLK_KP_MINUS:
		return remote(RcKey::volumeDown);
	case SDLK_m:
		return remote(RcKey::mute);
	case SDLK_p:
		return BoxKey{BoxKey::snapshot, RcKey::ok};
	default:
		return BoxKey{};
	}
}
