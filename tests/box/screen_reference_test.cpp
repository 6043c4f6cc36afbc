// The composed screen, one picture per kind of window the plug-in shows, compared
// with the pictures committed in tests/box/reference. After a deliberate change
// of the drawing or the artwork, QUELT_UPDATE_REFERENCES=1 writes them anew.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "box/boxscreen.h"
#include "box/screen_fixture.h"
#include "box/stillpicture.h"
#include "browser/elistboxentryquelt.h"
#include "host/echeckbox.h"
#include "host/elabel.h"
#include "host/elistbox.h"
#include "host/emessagebox.h"
#include "host/enumber.h"
#include "host/eprogress.h"
#include "host/eservice.h"
#include "host/eslider.h"
#include "host/estatusbar.h"
#include "host/ewindow.h"
#include "host/gpixmap.h"
#include "support/hostfixture.h"

namespace
{
const std::string pictures = "/var/tuxbox/config/enigma/pictures/quelt/";

class Reference : public ::testing::Test
{
protected:
	Reference()
	{
		eServiceInterface::getInstance()->stop();
		screen.start(true, 1);
	}
	~Reference() override { screen.videoPlane().setDecodedSource(nullptr); }

	gPixmap *picture(const std::string &receiverPath)
	{
		m_pictures.push_back(ScreenTest::picture(receiverPath));
		return m_pictures.back().get();
	}

	void showBackground()
	{
		std::ifstream in(ScreenTest::stagedRoot() + pictures + "quelt.mvi", std::ios::binary);
		std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
		DecodedPicture still;
		std::string error;
		ASSERT_TRUE(StillPicture::decode(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), still, error)) << error;
		screen.videoPlane().showStill(std::move(still));
	}

	// The browser as the plug-in lays it out: colour keys, the list of pictures and
	// names, the status line, and the volume display beside the window.
	std::unique_ptr<eWindow> browser()
	{
		auto w = std::make_unique<eWindow>();
		w->setText("QUELT: /home/films");
		w->cmove(ePoint(75, 75));
		w->cresize(eSize(600, 440));
		const struct
		{
			const char *text;
			gColor colour;
		} keys[] = {{"File", gColor(0xb0, 0x18, 0x18)}, {"DVD", gColor(0x20, 0x80, 0x20)},
			{"(S)VCD", gColor(0xc0, 0xa0, 0x00)}, {"Settings", gColor(0x20, 0x40, 0xb0)}};
		const int xs[] = {10, 157, 304, 452};
		for (int i = 0; i < 4; ++i)
		{
			auto *l = new eLabel(w.get());
			l->move(ePoint(xs[i], 0));
			l->resize(eSize(138, 30));
			l->setProperty("align", "center");
			l->setProperty("vcenter", "");
			l->setBackgroundColor(keys[i].colour);
			l->setText(keys[i].text);
		}
		auto *list = new eListBox<eListBoxEntryQUELT>(w.get());
		list->move(ePoint(10, 40));
		list->resize(eSize(580, 280));
		const struct
		{
			const char *text;
			const char *icon;
		} entries[] = {{"..", "goup.png"}, {"Holidays", "folder.png"}, {"Concert 2019", "folder.png"},
			{"trailer.avi", "avi.png"}, {"interview.mkv", "mkv.png"}, {"song.mp3", "mp3.png"},
			{"DVD chapter 1", "dvd.png"}, {"broken entry", "error.png"}};
		for (const auto &e : entries)
			new eListBoxEntryQUELT(list, e.text, picture(pictures + e.icon), 0);
		list->setCurrentIndex(3);
		auto *status = new eStatusBar(w.get());
		status->move(ePoint(10, 325));
		status->resize(eSize(580, 110));
		list->setHelpText("Startoffset: 00min.\nFile: trailer.avi\nSize: 700 MB");
		return w;
	}

	void volumeDisplay(eLabel &graphic, eProgress &bar, int perc)
	{
		graphic.setPixmap(picture("/share/tuxbox/enigma/skins/images/volume.png"));
		graphic.setBlitFlags(1);
		graphic.move(ePoint(470, 60));
		graphic.resize(eSize(200, 40));
		bar.move(ePoint(40, 14));
		bar.resize(eSize(150, 12));
		bar.setLeftColor(gColor(0x3c, 0xb4, 0xff));
		bar.setRightColor(gColor(0x20, 0x30, 0x40));
		bar.setPerc(perc);
		graphic.show();
	}

	HostFixture host;
	BoxScreen screen{&host.loop()};
	std::vector<std::unique_ptr<gPixmap>> m_pictures;
};

// A moving picture's stand-in: smooth colour ramps with a bright disc.
DecodedPicture testPicture()
{
	DecodedPicture p;
	p.width = 704;
	p.height = 576;
	p.aspectNum = 16;
	p.aspectDen = 9;
	p.serial = 1;
	p.argb.resize(size_t(p.width) * p.height);
	for (int y = 0; y < p.height; ++y)
		for (int x = 0; x < p.width; ++x)
		{
			int dx = x - 300, dy = y - 260;
			bool disc = dx * dx + dy * dy < 120 * 120;
			uint32_t r = disc ? 250 : uint32_t(x * 255 / p.width), g = disc ? 220 : uint32_t(y * 200 / p.height),
				 b = disc ? 60 : 140;
			p.argb[size_t(y) * p.width + x] = 0xff000000u | (r << 16) | (g << 8) | b;
		}
	return p;
}
} // namespace

TEST_F(Reference, Browser)
{
	showBackground();
	auto w = browser();
	w->show();
	eLabel graphic(nullptr);
	auto *bar = new eProgress(&graphic);
	volumeDisplay(graphic, *bar, 60);
	ScreenTest::expectMatchesReference(screen.composeNow(), "browser");
}

TEST_F(Reference, MessageBoxOverTheBrowser)
{
	showBackground();
	auto w = browser();
	w->show();
	eMessageBox box("The stream could not be started.\nPlease check VLC on the PC.", "Error",
		eMessageBox::btOK | eMessageBox::iconError);
	box.show();
	ScreenTest::expectMatchesReference(screen.composeNow(), "messagebox");
}

TEST_F(Reference, PreBufferingDisplay)
{
	gPixmap *bar = picture(pictures + "v_progress.png");
	ASSERT_TRUE(bar);
	int w = bar->width(), h = bar->height();
	eProgress frame(nullptr);
	frame.resize(eSize(w - 13, h + 6));
	frame.move(ePoint(624 - w, 497));
	eLabel progress(nullptr);
	progress.setPixmap(bar);
	progress.setBlitFlags(1);
	progress.move(ePoint(630 - w, 500));
	progress.resize(eSize(w / 100 * 45, h));
	eLabel percent(nullptr);
	percent.move(ePoint(320, 460));
	percent.resize(eSize(60, 30));
	percent.setProperty("align", "center");
	percent.setProperty("vcenter", "");
	percent.setText("45%");
	frame.show();
	progress.show();
	percent.show();
	ScreenTest::expectMatchesReference(screen.composeNow(), "prebuffer");
}

TEST_F(Reference, InfobarOverThePicture)
{
	screen.videoPlane().setDecodedSource([](DecodedPicture &out) {
		out = testPicture();
		return true;
	});
	screen.videoPlane().decodedPictureArrived();
	eWidget bar(nullptr);
	bar.move(ePoint(20, 392));
	bar.resize(eSize(680, 164));
	bar.setBackgroundColor(gColor(0x10, 0x18, 0x30, 0xe0));
	const struct
	{
		const char *text;
		eRect where;
		int align;
	} texts[] = {{"RC21", eRect(10, 10, 80, 30), 0}, {"Seek Mode activated", eRect(100, 10, 400, 30), 0},
		{"21:42", eRect(580, 10, 90, 30), 2}, {"21:40", eRect(10, 50, 80, 30), 0},
		{"trailer.avi", eRect(100, 50, 440, 30), 0}, {"+12 min", eRect(560, 50, 110, 30), 2},
		{"22:00", eRect(10, 86, 80, 30), 0}, {"interview.mkv", eRect(100, 86, 440, 30), 0},
		{"CODEC: mpgv", eRect(10, 126, 240, 30), 0}, {"704x576", eRect(260, 126, 120, 30), 0}};
	for (const auto &t : texts)
	{
		auto *l = new eLabel(&bar);
		l->move(t.where.topLeft());
		l->resize(t.where.size());
		if (t.align == 2)
			l->setProperty("align", "right");
		l->setText(t.text);
	}
	auto *progress = new eProgress(&bar);
	progress->move(ePoint(100, 40));
	progress->resize(eSize(440, 6));
	progress->setPerc(40);
	bar.show();
	ScreenTest::expectMatchesReference(screen.composeNow(), "infobar");
}

TEST_F(Reference, SettingsWindow)
{
	eServiceReference live;
	live.type = 1;
	live.descr = "Test card";
	eServiceInterface::getInstance()->play(live);
	eWindow w;
	w.setText("Settings");
	w.cmove(ePoint(110, 110));
	w.cresize(eSize(500, 330));
	auto *serverLabel = new eLabel(&w);
	serverLabel->move(ePoint(10, 10));
	serverLabel->resize(eSize(200, 30));
	serverLabel->setText("Server set");
	int init[4] = {192, 168, 1, 20};
	auto *ip = new eNumber(&w, 4, 0, 255, 3, init);
	ip->move(ePoint(220, 10));
	ip->resize(eSize(200, 30));
	ip->setHelpText("The PC's address");
	auto *autoplay = new eCheckbox(&w, 1, 1);
	autoplay->move(ePoint(10, 60));
	autoplay->resize(eSize(300, 30));
	autoplay->setText("Play the next file");
	auto *bufferLabel = new eLabel(&w);
	bufferLabel->move(ePoint(10, 110));
	bufferLabel->resize(eSize(200, 30));
	bufferLabel->setText("Buffer size");
	auto *buffer = new eSlider(&w, bufferLabel, 1, 16);
	buffer->move(ePoint(220, 118));
	buffer->resize(eSize(260, 14));
	buffer->setValue(6);
	auto *status = new eStatusBar(&w);
	status->move(ePoint(10, 260));
	status->resize(eSize(480, 60));
	w.show();
	eLabel graphic(nullptr);
	auto *bar = new eProgress(&graphic);
	volumeDisplay(graphic, *bar, 100);
	ScreenTest::expectMatchesReference(screen.composeNow(), "settings");
	eServiceInterface::getInstance()->stop();
}
