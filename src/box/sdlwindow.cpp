#include "box/sdlwindow.h"

#include <cstdlib>
#include <cstring>

#include "box/compositor.h"
#include "box/lcdstrip.h"
#include "host/gpainter.h"
#include "host/log.h"
#include "host/mainloop.h"

namespace
{
// SDL gives no descriptor to wait on for its events, so the window looks for them
// this often: a key then waits at most a fiftieth of a second.
constexpr long pumpIntervalMs = 20;

constexpr int windowHeight = kScreenHeight + LcdStrip::height;
} // namespace

SdlWindow::SdlWindow() = default;

SdlWindow::~SdlWindow()
{
	m_pump.reset();
	if (m_surface)
		cairo_surface_destroy(m_surface);
	if (m_texture)
		SDL_DestroyTexture(m_texture);
	if (m_renderer)
		SDL_DestroyRenderer(m_renderer);
	if (m_window)
		SDL_DestroyWindow(m_window);
	if (m_videoStarted)
		SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindow::displayNamed()
{
	const char *x11 = std::getenv("DISPLAY");
	const char *wayland = std::getenv("WAYLAND_DISPLAY");
	return (x11 && *x11) || (wayland && *wayland);
}

bool SdlWindow::open(eMainloop *loop, int scale, Handlers handlers, std::string &error)
{
	// Ctrl-C and kill end the box as they do headless; SDL would turn them into a
	// window-close event.
	SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
	SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
	SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
	if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
	{
		error = std::string("no display: ") + SDL_GetError();
		return false;
	}
	m_videoStarted = true;
	scale = scale == 2 ? 2 : 1;
	m_window = SDL_CreateWindow("quelt-box", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kScreenWidth * scale,
		windowHeight * scale, 0);
	// Software drawing: a frame of this size is scaled in no time, and it needs no
	// OpenGL, which a PC without a graphics driver (or Xvfb) only emulates.
	if (m_window)
		m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
	if (m_renderer)
		m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
			windowHeight);
	if (!m_texture)
	{
		error = std::string("cannot open a window: ") + SDL_GetError();
		return false;
	}
	m_pixels.assign(size_t(kScreenWidth) * windowHeight, 0xff000000u);
	m_surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char *>(m_pixels.data()),
		CAIRO_FORMAT_ARGB32, kScreenWidth, windowHeight, kScreenWidth * 4);
	m_handlers = std::move(handlers);
	m_pump = std::make_unique<eTimer>(loop);
	m_pump->timeout.connect([this] { pumpEvents(); });
	m_pump->start(pumpIntervalMs);
	return true;
}

void SdlWindow::present(const ScreenFrame &frame, const LcdStrip &lcd)
{
	if (!m_texture || frame.width != kScreenWidth || frame.height != kScreenHeight)
		return;
	std::memcpy(m_pixels.data(), frame.argb.data(), frame.argb.size() * sizeof(uint32_t));
	cairo_surface_mark_dirty(m_surface);
	cairo_t *cr = cairo_create(m_surface);
	lcd.draw(cr, kScreenHeight, kScreenWidth);
	cairo_destroy(cr);
	cairo_surface_flush(m_surface);
	SDL_UpdateTexture(m_texture, nullptr, m_pixels.data(), kScreenWidth * 4);
	draw();
	// A busy GUI thread presents without turning the loop; taking the events into
	// SDL's queue keeps the window answering its window manager meanwhile.
	SDL_PumpEvents();
}

void SdlWindow::draw()
{
	SDL_RenderClear(m_renderer);
	SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
	SDL_RenderPresent(m_renderer);
}

void SdlWindow::pumpEvents()
{
	SDL_Event event;
	while (m_window && SDL_PollEvent(&event))
	{
		switch (event.type)
		{
		case SDL_KEYDOWN:
		{
			BoxKey key = mapKeyboardKey(event.key.keysym.sym, event.key.keysym.mod);
			// Holding p must not fill the folder with snapshots.
			if (key.kind == BoxKey::snapshot && event.key.repeat)
				break;
			if (key.kind != BoxKey::none && m_handlers.key)
				m_handlers.key(key);
			break;
		}
		case SDL_QUIT:
			if (m_handlers.closed)
				m_handlers.closed();
			break;
		case SDL_WINDOWEVENT:
			if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
				draw();
			else if (event.window.event == SDL_WINDOWEVENT_CLOSE && m_handlers.closed)
				m_handlers.closed();
			break;
		default:
			break;
		}
	}
}
