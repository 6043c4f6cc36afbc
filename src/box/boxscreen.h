#ifndef BOX_BOXSCREEN_H
#define BOX_BOXSCREEN_H

#include <sigc++/sigc++.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "box/busycapture.h"
#include "box/compositor.h"
#include "box/lcdstrip.h"
#include "box/osdplane.h"
#include "box/pangomeasurer.h"
#include "box/repaintscheduler.h"
#include "box/stillpicturereceiver.h"
#include "box/videoplane.h"
#include "host/estring.h"

class BoxDecoder;
class KeyQueue;
class SdlAudio;
class SdlWindow;
class eMainloop;
class eWidget;
struct BoxKey;
struct eServiceReference;

// The box's screen: the widgets drawn into the OSD plane over the video plane,
// in a window with the keyboard as remote control where a display exists, and
// headless otherwise; snapshots of what it shows. It follows the live service
// (the test card), the decoder's pictures and the still-picture tool, and puts
// the LCD's text under the picture. GUI thread only, but for the hooks it gives
// the decoder and the still-picture receiver.
//
// While it exists it is the widgets' repaint hook and the text measurer.
class BoxScreen : public sigc::trackable
{
public:
	enum class Mode
	{
		headless,
		window,
	};

	explicit BoxScreen(eMainloop *loop);
	~BoxScreen();
	BoxScreen(const BoxScreen &) = delete;
	BoxScreen &operator=(const BoxScreen &) = delete;

	// Opens the window (scale 1 or 2) unless headless is asked for, no display is
	// named, or SDL cannot open one; says in the log which mode it runs in.
	Mode start(bool headless, int scale);
	Mode mode() const { return m_window ? Mode::window : Mode::headless; }

	// Takes still pictures from the tool at this socket path (the root's /dev/video).
	bool listenForStillPictures(const std::string &path, std::string &error);

	// Shows the decoder's pictures, and in a window plays its sound, until detached.
	// The decoder must be detached before it stops or the screen dies.
	void attachDecoder(BoxDecoder *decoder);
	void detachDecoder();

	// Writes NAME.txt (the widget tree) and NAME.png (the composed screen) into dir.
	// When the GUI thread was busy outside its loop since the last snapshot (a
	// stream start pre-buffering), NAME-busy.txt and NAME-busy.png hold the screen
	// as it stood then (see BusyCapture).
	bool writeSnapshot(const std::string &dir, const std::string &name);
	// Where the window's snapshot key writes (empty: the current folder).
	void setSnapshotFolder(const std::string &dir) { m_snapshotFolder = dir; }

	// The screen as it is now, every change painted.
	const ScreenFrame &composeNow();
	// Called when the window's close button is pressed.
	std::function<void()> windowClosed;

	VideoPlane &videoPlane() { return m_video; }
	const OsdPlane &osdPlane() const { return m_osd; }
	const RepaintScheduler &scheduler() const { return m_scheduler; }
	const LcdStrip &lcd() const { return m_lcd; }
	// What the screen showed while the GUI thread was busy.
	const BusyCapture &busyCapture() const { return m_busy; }

private:
	void repaintHook(eWidget *widget);
	void paint(bool busy);
	void present();
	void pictureArrived();
	void windowKey(const BoxKey &key);
	void serviceStarted(const eServiceReference &ref);
	void serviceStopped();
	void volumeChanged(int mute, int volume);

	eMainloop *m_loop;
	PangoMeasurer m_measurer;
	OsdPlane m_osd;
	VideoPlane m_video;
	Compositor m_compositor;
	LcdStrip m_lcd;
	RepaintScheduler m_scheduler;
	std::unique_ptr<SdlWindow> m_window;
	std::unique_ptr<SdlAudio> m_audio;
	std::unique_ptr<KeyQueue> m_keys;
	StillPictureReceiver m_stills;
	BoxDecoder *m_decoder = nullptr;
	// Set by the decoder thread when it has posted a new picture, cleared by the GUI
	// thread when that post runs: one post at a time, however fast pictures come.
	std::atomic<bool> m_pictureQueued{false};

	// The OSD plane holds a picture painted while busy, of this widget tree.
	bool m_busyPainted = false;
	eString m_busyTree;
	BusyCapture m_busy;
	std::string m_snapshotFolder;
	int m_keySnapshots = 0;
	// Expires with the screen, so a closure posted to the loop that runs later does nothing.
	std::shared_ptr<char> m_life = std::make_shared<char>(0);
};

#endif
