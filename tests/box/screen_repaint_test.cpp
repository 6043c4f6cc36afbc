// When the box's screen paints: once per turn of the GUI loop, at once while the
// GUI thread is busy outside the loop, and what a snapshot writes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "box/boxscreen.h"
#include "box/screen_fixture.h"
#include "host/clock.h"
#include "host/elabel.h"
#include "host/eprogress.h"
#include "host/gpixmap.h"
#include "host/mainloop.h"
#include "support/hostfixture.h"

namespace fs = std::filesystem;

namespace
{
class Repaint : public ::testing::Test
{
protected:
	Repaint() { screen.start(true, 1); }

	// Runs the loop until nothing is left to do (the clock never moves: no timers).
	void settle()
	{
		while (host.loop().processOneEvent(false))
		{
		}
	}
	uint64_t paints() const { return screen.osdPlane().repaints(); }

	HostFixture host;
	Watchdog watchdog{60, "a repaint test"};
	BoxScreen screen{&host.loop()};
};

// The pre-buffering display as the engine builds it: a bar picture in a label whose
// width grows, over a frame, with a percentage text.
struct ProgressDisplay
{
	ProgressDisplay() : bar(eSize(200, 10))
	{
		for (int y = 0; y < 10; ++y)
			for (int x = 0; x < 200; ++x)
				bar.at(x, y) = 0xff30c0ffu;
		frame.move(ePoint(94, 497));
		frame.resize(eSize(212, 16));
		frame.setPerc(0);
		picture.setPixmap(&bar);
		picture.setBlitFlags(1);
		picture.move(ePoint(100, 500));
		picture.resize(eSize(0, 10));
		percent.move(ePoint(320, 460));
		percent.resize(eSize(60, 30));
		percent.setText("00%");
	}
	void show()
	{
		frame.show();
		picture.show();
		percent.show();
	}
	void update(int perc)
	{
		picture.hide();
		picture.resize(eSize(bar.width() / 100 * perc, bar.height()));
		picture.show();
		percent.setText(eString::format("%02d%%", perc));
	}

	gPixmap bar;
	eProgress frame{nullptr};
	eLabel picture{nullptr};
	eLabel percent{nullptr};
};

// Whether the bar ends where perc puts it, on the OSD plane as last painted.
bool barReaches(const OsdPlane &osd, int perc)
{
	cairo_surface_t *s = osd.surface();
	cairo_surface_flush(s);
	auto at = [s](int x, int y) {
		const unsigned char *row = cairo_image_surface_get_data(s) + size_t(y) * cairo_image_surface_get_stride(s);
		return reinterpret_cast<const uint32_t *>(row)[x];
	};
	const uint32_t colour = 0xff30c0ffu;
	int end = 100 + 2 * perc;
	return (perc == 0 || at(end - 1, 505) == colour) && at(end + 1, 505) != colour;
}

std::string readText(const fs::path &path)
{
	std::ifstream in(path);
	std::stringstream s;
	s << in.rdbuf();
	return s.str();
}
} // namespace

TEST_F(Repaint, ChangesMadeInOneTurnOfTheLoopArePaintedOnce)
{
	eLabel a(nullptr), b(nullptr);
	settle();
	uint64_t before = paints();
	host.loop().post([&] {
		a.resize(eSize(100, 30));
		a.setText("one");
		a.show();
		b.setText("two");
		b.show();
		a.setText("three");
	});
	settle();
	EXPECT_EQ(paints(), before + 1);
	EXPECT_FALSE(screen.scheduler().pending());
	EXPECT_EQ(screen.scheduler().busyPaints(), 0u);
}

TEST_F(Repaint, AGuiThreadBusyOutsideTheLoopShowsEveryProgressStepAtOnce)
{
	ProgressDisplay display;
	settle();
	host.loop().post([&] {
		// The start sequence: the GUI thread stays in this key handler for seconds.
		display.show();
		for (int perc : {10, 50, 90})
		{
			host.clock().advanceBy(RepaintScheduler::busyAfterMs);
			uint64_t before = paints();
			display.update(perc);
			EXPECT_GT(paints(), before) << perc;
			EXPECT_TRUE(barReaches(screen.osdPlane(), perc)) << perc;
		}
		// Taking the display away waits for the loop: the bar stays meanwhile.
		host.clock().advanceBy(RepaintScheduler::busyAfterMs);
		uint64_t before = paints();
		display.picture.hide();
		display.frame.hide();
		display.percent.hide();
		EXPECT_EQ(paints(), before);
	});
	settle();
	screen.composeNow();
	EXPECT_FALSE(barReaches(screen.osdPlane(), 90));
	EXPECT_FALSE(screen.scheduler().pending());
	EXPECT_GE(screen.scheduler().busyPaints(), 3u);
}

TEST_F(Repaint, ASnapshotWritesTheScreenAndWhatItShowedWhileBusy)
{
	fs::path dir = fs::path(host.root().c_str()) / "shots";
	fs::create_directories(dir);
	ProgressDisplay display;
	eLabel volume(nullptr);
	volume.resize(eSize(100, 20));
	volume.setText("Volume");
	settle();
	host.loop().post([&] {
		display.show();
		host.clock().advanceBy(RepaintScheduler::busyAfterMs);
		display.update(60);
		display.picture.hide();
		display.frame.hide();
		display.percent.hide();
		// What comes after the display is gone says nothing about the busy time.
		volume.show();
	});
	settle();

	ASSERT_TRUE(screen.writeSnapshot(dir.string(), "start"));
	std::string busyText = readText(dir / "start-busy.txt");
	EXPECT_NE(busyText.find("text=\"60%\""), std::string::npos) << busyText;
	EXPECT_EQ(readText(dir / "start.txt").find("60%"), std::string::npos);
	std::unique_ptr<gPixmap> busy(loadPNG((dir / "start-busy.png").c_str())), now(loadPNG((dir / "start.png").c_str()));
	ASSERT_TRUE(busy && now);
	EXPECT_EQ(busy->at(100 + 119, 505), 0xff30c0ffu);
	EXPECT_NE(now->at(100 + 119, 505), 0xff30c0ffu);

	// What the screen showed while busy is written once.
	ASSERT_TRUE(screen.writeSnapshot(dir.string(), "later"));
	EXPECT_TRUE(fs::exists(dir / "later.png"));
	EXPECT_FALSE(fs::exists(dir / "later-busy.png"));
	EXPECT_FALSE(screen.writeSnapshot("", "nowhere"));
}
