#include "box/boxscreen.h"

#include <fstream>

#include "box/boxdecoder.h"
#include "box/keymap.h"
#include "box/pngsnapshot.h"
#include "box/sdlaudio.h"
#include "box/sdlwindow.h"
#include "host/actions.h"
#include "host/eavswitch.h"
#include "host/eservice.h"
#include "host/ewidget.h"
#include "host/log.h"
#include "host/mainloop.h"
#include "host/widgetdump.h"

#if defined(__SANITIZE_ADDRESS__)
// The screen's libraries keep some of what they allocate for the life of the
// process and never free it: fontconfig, under pango, its font patterns, and
// D-Bus, which SDL opens, a connection buffer. They are not the box's leaks.
extern "C" const char *__lsan_default_suppressions()
{
	return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
#endif

#if defined(__SANITIZE_THREAD__)
// Pango reads the font configuration and matches fonts on threads of its own and
// hands the results over with glib's locks, which work on futexes the race
// detector cannot see. What it would report there is that hand-over.
extern "C" const char *__tsan_default_suppressions()
{
	return "race:libfontconfig.so\nrace:libpangoft2-1.0.so\nrace:libpango-1.0.so\nrace:libglib-2.0.so\n";
}
#endif

namespace
{
bool writeText(const std::string &path, const eString &text)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out << text;
	out.close();
	if (!out)
	{
		eWarning("[box] cannot write snapshot %s", path.c_str());
		return false;
	}
	return true;
}

bool writePng(const std::string &path, const ScreenFrame &frame)
{
	std::string error;
	if (writePngSnapshot(path, frame, error))
		return true;
	eWarning("[box] cannot write snapshot %s: %s", path.c_str(), error.c_str());
	return false;
}
} // namespace

BoxScreen::BoxScreen(eMainloop *loop)
	: m_loop(loop), m_scheduler(loop, [this](bool busy) { paint(busy); })
{
	m_measurer.install();
	eServiceInterface *service = eServiceInterface::getInstance();
	m_video.setLiveService(service->isRunning(), service->service.descr);
	service->started.connect(sigc::mem_fun(*this, &BoxScreen::serviceStarted));
	service->stopped.connect(sigc::mem_fun(*this, &BoxScreen::serviceStopped));
	m_lcd.changed = [this] { present(); };
	eWidget::setRepaintHook([this](eWidget *widget) { repaintHook(widget); });
	// The first picture, whatever is or is not on screen yet.
	m_scheduler.request(true);
}

BoxScreen::~BoxScreen()
{
	detachDecoder();
	m_stills.stop();
	eWidget::setRepaintHook(nullptr);
	m_measurer.uninstall();
}

BoxScreen::Mode BoxScreen::start(bool headless, int scale)
{
	if (headless)
	{
		eDebug("[box] screen: headless, as asked");
		return Mode::headless;
	}
	if (!SdlWindow::displayNamed())
	{
		eDebug("[box] screen: headless: no display ($DISPLAY and $WAYLAND_DISPLAY are unset)");
		return Mode::headless;
	}
	auto window = std::make_unique<SdlWindow>();
	std::string error;
	SdlWindow::Handlers handlers;
	handlers.key = [this](const BoxKey &key) { windowKey(key); };
	handlers.closed = [this] {
		if (windowClosed)
			windowClosed();
	};
	if (!window->open(m_loop, scale, std::move(handlers), error))
	{
		eWarning("[box] screen: headless: %s", error.c_str());
		return Mode::headless;
	}
	m_window = std::move(window);
	m_keys = std::make_unique<KeyQueue>(m_loop);
	eDebug("[box] screen: window %dx%d, scale %d", kScreenWidth, kScreenHeight, scale);

	auto audio = std::make_unique<SdlAudio>();
	if (audio->open(error))
	{
		m_audio = std::move(audio);
		eAVSwitch *av = eAVSwitch::getInstance();
		m_audio->setVolume(av->getVolume(), av->getMute());
		av->volumeChanged.connect(sigc::mem_fun(*this, &BoxScreen::volumeChanged));
	}
	else
		eWarning("[box] sound: none: %s", error.c_str());
	present();
	return Mode::window;
}

bool BoxScreen::listenForStillPictures(const std::string &path, std::string &error)
{
	std::weak_ptr<char> alive = m_life;
	bool ok = m_stills.start(path, [this, alive](DecodedPicture picture) {
		m_loop->post([this, alive, picture = std::move(picture)]() mutable {
			if (alive.expired())
				return;
			m_video.showStill(std::move(picture));
			present();
		});
	});
	if (!ok)
		error = m_stills.error();
	return ok;
}

void BoxScreen::attachDecoder(BoxDecoder *decoder)
{
	detachDecoder();
	m_decoder = decoder;
	if (!decoder)
		return;
	m_video.setDecodedSource([decoder](DecodedPicture &out) { return decoder->lastPicture(out); });
	std::weak_ptr<char> alive = m_life;
	decoder->setPictureHook([this, alive] {
		if (m_pictureQueued.exchange(true))
			return;
		m_loop->post([this, alive] {
			if (!alive.expired())
				pictureArrived();
		});
	});
	if (m_audio)
	{
		SdlAudio *audio = m_audio.get();
		decoder->setAudioSink([audio](const AudioChunk &chunk) { audio->play(chunk); });
	}
}

void BoxScreen::detachDecoder()
{
	if (!m_decoder)
		return;
	// Once these return the decoder thread calls neither hook again.
	m_decoder->setPictureHook(nullptr);
	m_decoder->setAudioSink(nullptr);
	m_video.setDecodedSource(nullptr);
	m_decoder = nullptr;
}

void BoxScreen::pictureArrived()
{
	m_pictureQueued.store(false);
	m_video.decodedPictureArrived();
	present();
}

void BoxScreen::repaintHook(eWidget *widget)
{
	bool showsContent = widget && widget->isVisibleOnScreen();
	if (!showsContent)
		m_busy.windowTakenAway();
	m_scheduler.request(showsContent);
}

void BoxScreen::paint(bool busy)
{
	if (busy)
	{
		// A busy GUI thread changes widgets at every piece of data it takes; a
		// change that leaves the screen's tree as it was painted needs no picture.
		eString tree = WidgetDump::screen();
		if (m_busyPainted && tree == m_busyTree)
			return;
		m_busyPainted = true;
		m_busyTree = tree;
		m_osd.repaint();
		const ScreenFrame &frame = m_compositor.compose(m_video, m_osd);
		m_busy.painted(frame, tree);
		if (m_window)
			m_window->present(frame, m_lcd);
		return;
	}
	m_busy.turnEnded();
	m_busyPainted = false;
	m_osd.repaint();
	present();
}

void BoxScreen::present()
{
	if (m_window)
		m_window->present(m_compositor.compose(m_video, m_osd), m_lcd);
}

const ScreenFrame &BoxScreen::composeNow()
{
	m_scheduler.flush();
	return m_compositor.compose(m_video, m_osd);
}

bool BoxScreen::writeSnapshot(const std::string &dir, const std::string &name)
{
	if (dir.empty())
	{
		eWarning("[box] snapshot %s: no --snapshots folder given", name.c_str());
		return false;
	}
	std::string base = dir + "/" + name;
	m_scheduler.flush();
	eString text = WidgetDump::screen();
	bool ok = writeText(base + ".txt", text) && writePng(base + ".png", composeNow());
	if (m_busy.available())
	{
		ok = writeText(base + "-busy.txt", m_busy.tree()) && writePng(base + "-busy.png", m_busy.frame()) && ok;
		m_busy.written();
	}
	if (ok)
		eDebug("[box] snapshot %s", base.c_str());
	return ok;
}

void BoxScreen::windowKey(const BoxKey &key)
{
	if (key.kind == BoxKey::remote && m_keys)
		m_keys->push(key.key);
	else if (key.kind == BoxKey::snapshot)
		writeSnapshot(m_snapshotFolder.empty() ? std::string(".") : m_snapshotFolder,
			eString::format("screen-%03d", ++m_keySnapshots));
}

void BoxScreen::serviceStarted(const eServiceReference &ref)
{
	m_video.setLiveService(true, ref.descr);
	present();
}

void BoxScreen::serviceStopped()
{
	m_video.setLiveService(false, eString());
	present();
}

void BoxScreen::volumeChanged(int mute, int volume)
{
	if (m_audio)
		m_audio->setVolume(volume, mute != 0);
}
