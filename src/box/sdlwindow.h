#ifndef BOX_SDLWINDOW_H
#define BOX_SDLWINDOW_H

#include <SDL.h>

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "box/keymap.h"

class eMainloop;
class eTimer;
class LcdStrip;
struct ScreenFrame;

// The box's screen in a window on the PC's display: the composed picture, scaled
// x1 or x2, with the LCD strip under it, and the keyboard as the remote control.
// GUI thread only (SDL wants its window and events on the thread that made them).
class SdlWindow
{
public:
	// What the window reports. Each runs on the GUI thread from the event pump.
	struct Handlers
	{
		std::function<void(const BoxKey &)> key;
		std::function<void()> closed;
	};

	SdlWindow();
	~SdlWindow();
	SdlWindow(const SdlWindow &) = delete;
	SdlWindow &operator=(const SdlWindow &) = delete;

	// True when the environment names a display ($DISPLAY or $WAYLAND_DISPLAY).
	static bool displayNamed();

	// Opens the window and starts taking its events on loop. False with error set
	// when no window can be had; the box then runs headless.
	bool open(eMainloop *loop, int scale, Handlers handlers, std::string &error);
	bool isOpen() const { return m_window != nullptr; }

	// Shows the frame with the LCD strip under it.
	void present(const ScreenFrame &frame, const LcdStrip &lcd);
	// Takes the events SDL has queued: keys, the window's closing, exposure.
	void pumpEvents();

private:
	void draw();

	Handlers m_handlers;
	bool m_videoStarted = false;
	SDL_Window *m_window = nullptr;
	SDL_Renderer *m_renderer = nullptr;
	SDL_Texture *m_texture = nullptr;
	std::unique_ptr<eTimer> m_pump;
	// The picture and the strip, as the texture gets them.
	std::vector<uint32_t> m_pixels;
	cairo_surface_t *m_surface = nullptr;
};

#endif
