// The box's painter: every kind of widget drawn into a small surface, checked at
// the pixels that matter.

#include <gtest/gtest.h>

#include <memory>

#include "box/cairopainter.h"
#include "box/screen_fixture.h"
#include "browser/elistboxentryquelt.h"
#include "host/echeckbox.h"
#include "host/elabel.h"
#include "host/elistbox.h"
#include "host/emessagebox.h"
#include "host/enumber.h"
#include "host/eprogress.h"
#include "host/estatusbar.h"
#include "host/ewindow.h"
#include "host/gpixmap.h"
#include "support/hostfixture.h"

using ScreenTest::inkColumns;
using ScreenTest::inkIn;
using ScreenTest::near;
using ScreenTest::Surface;

namespace
{
constexpr uint32_t black = 0xff000000u;
constexpr uint32_t white = 0xffffffffu;

gPixmap solidPicture(int w, int h, uint32_t argb)
{
	gPixmap p(eSize(w, h));
	for (int y = 0; y < h; ++y)
		for (int x = 0; x < w; ++x)
			p.at(x, y) = argb;
	return p;
}

// A paragraph is released, not deleted.
struct Para
{
	explicit Para(const eRect &area) : p(new eTextPara(area)) {}
	~Para() { p->destroy(); }
	eTextPara *operator->() const { return p; }
	eTextPara *p;
};

// A painter whose protected drawing can be called as the base class calls it.
class OpenPainter : public CairoPainter
{
public:
	using CairoPainter::CairoPainter;
	using CairoPainter::drawFill;
	using CairoPainter::drawPixmap;
};

class Painter : public ::testing::Test
{
protected:
	// Paints a top-level widget (shown first) into the surface, which starts black.
	void paint(eWidget &w)
	{
		w.show();
		surface.fill(0x000000);
		CairoPainter painter(surface.get());
		w.redraw(painter);
		painter.flush();
	}

	HostFixture host;
	ScreenTest::MeasurerScope measurer;
	Surface surface{240, 160};
};
} // namespace

TEST_F(Painter, AFillReplacesThePixelsAlphaIncluded)
{
	surface.fill(0xff0000);
	OpenPainter painter(surface.get());
	painter.drawFill(eRect(10, 10, 20, 20), gColor(0, 255, 0, 128));
	EXPECT_TRUE(near(surface.at(15, 15), 0x8000ff00u, 2));
	EXPECT_EQ(surface.at(5, 5), 0xffff0000u);
}

TEST_F(Painter, APictureIsBlendedOrWithTheAlphaTestCopiedWhereNotTransparent)
{
	gPixmap picture(eSize(2, 1));
	picture.at(0, 0) = 0x00ff0000u;
	picture.at(1, 0) = 0x800000ffu;

	surface.fill(0xffffff);
	{
		OpenPainter painter(surface.get());
		painter.drawPixmap(picture, ePoint(4, 4), eRect(0, 0, 240, 160), gPainter::BF_ALPHA_TEST);
	}
	EXPECT_EQ(surface.at(4, 4), white);
	EXPECT_TRUE(near(surface.at(5, 4), 0x800000ffu, 2));

	surface.fill(0xffffff);
	{
		OpenPainter painter(surface.get());
		painter.drawPixmap(picture, ePoint(4, 4), eRect(0, 0, 240, 160), 0);
	}
	EXPECT_EQ(surface.at(4, 4), white);
	EXPECT_TRUE(near(surface.at(5, 4), 0xff7f7fffu, 2));
}

TEST_F(Painter, LabelTextFollowsAlignAndVcenter)
{
	struct Case
	{
		const char *align;
		bool vcenter;
	};
	const Case cases[] = {{"left", false}, {"center", false}, {"right", false}, {"center", true}};
	for (const Case &c : cases)
	{
		SCOPED_TRACE(std::string(c.align) + (c.vcenter ? " vcenter" : ""));
		auto label = std::make_unique<eLabel>(nullptr);
		label->resize(eSize(200, 100));
		label->setFont(gFont("DejaVu Sans", 20));
		label->setProperty("align", c.align);
		if (c.vcenter)
			label->setProperty("vcenter", "");
		label->setText("Seek");
		paint(*label);

		auto [first, last] = inkColumns(surface, eRect(0, 0, 200, 100), black);
		ASSERT_GE(first, 0);
		int width = last - first + 1;
		EXPECT_GT(width, 30);
		EXPECT_LT(width, 60);
		if (std::string(c.align) == "left")
			EXPECT_LE(first, 3);
		else if (std::string(c.align) == "right")
			EXPECT_GE(last, 195);
		else
			EXPECT_NEAR(first + last, 200, 6);
		// A line of 20-pixel text is about 24 pixels high.
		bool topInk = inkIn(surface, eRect(0, 0, 200, 30), black);
		bool middleInk = inkIn(surface, eRect(0, 38, 200, 24), black);
		EXPECT_EQ(topInk, !c.vcenter);
		EXPECT_EQ(middleInk, c.vcenter);
	}
}

TEST_F(Painter, LabelTextWrapsAtTheLabelsWidth)
{
	auto label = std::make_unique<eLabel>(nullptr);
	label->resize(eSize(120, 100));
	label->setText("one two three four five");
	paint(*label);
	EXPECT_FALSE(inkIn(surface, eRect(120, 0, 120, 100), black));
	EXPECT_TRUE(inkIn(surface, eRect(0, 30, 120, 30), black));
}

TEST_F(Painter, LatinOneTextIsDrawnAndMeasuredLikeItsUtf8Form)
{
	Para latin(eRect(0, 0, 100, 30)), utf8(eRect(0, 0, 100, 30));
	latin->renderString("Caf\xe9");
	utf8->renderString("Caf\xc3\xa9");
	EXPECT_EQ(latin->getBoundBox(), utf8->getBoundBox());

	auto label = std::make_unique<eLabel>(nullptr);
	label->resize(eSize(200, 40));
	label->setText("Caf\xe9");
	paint(*label);
	EXPECT_TRUE(inkIn(surface, eRect(0, 0, 200, 40), black));
}

TEST_F(Painter, AParagraphIsAsWideAsItsDrawnText)
{
	Para para(eRect(0, 0, 40, 50));
	para->renderString("Help: Show this");
	eRect box = para->getBoundBox();
	OpenPainter painter(surface.get());
	surface.fill(0x000000);
	painter.renderPara(*para.p, ePoint(0, 0));
	painter.flush();
	auto [first, last] = inkColumns(surface, eRect(0, 0, 240, 60), black);
	EXPECT_LE(first, 2);
	EXPECT_NEAR(last + 1, box.w, 3);
	EXPECT_FALSE(inkIn(surface, eRect(0, box.h + 1, 240, 20), black));
}

TEST_F(Painter, ListBoxShowsTheHighlightedRowInItsActiveColourWhenFocused)
{
	const gColor activeB(200, 40, 40), normalB(20, 20, 60);
	eWindow window;
	window.cmove(ePoint(0, 0));
	window.cresize(eSize(200, 120));
	window.setBackgroundColor(gColor(0, 0, 0));
	auto *list = new eListBox<eListBoxEntryText>(&window);
	list->move(ePoint(0, 0));
	list->resize(eSize(200, 90));
	list->setActiveColor(activeB, gColor(255, 255, 255));
	list->setNormalColor(normalB, gColor(255, 255, 255));
	for (const char *t : {"first", "second", "third"})
		new eListBoxEntryText(list, t);
	list->setCurrentIndex(1);
	paint(window);

	eRect client = window.getAbsoluteClientRect();
	int rowH = list->getItemHeight();
	auto row = [&](int i, int x) { return surface.at(client.x + x, client.y + i * rowH + 2); };
	EXPECT_EQ(row(0, 190), normalB.argb());
	EXPECT_EQ(row(1, 190), activeB.argb());
	EXPECT_EQ(row(2, 190), normalB.argb());
	EXPECT_TRUE(inkIn(surface, eRect(client.x + 5, client.y + rowH, 100, rowH), activeB.argb()));

	// Without the focus no row is highlighted.
	window.setFocus(nullptr);
	paint(window);
	EXPECT_EQ(row(1, 190), normalB.argb());
}

// The plug-in's entries: the picture at x 10 of the list, centred in the row, the
// text 20 pixels beyond the picture's width.
TEST_F(Painter, PictureEntriesPlaceTheirPictureAndTextByTheListEntryRule)
{
	struct Case
	{
		int w, h;
		int pictureTop;
		int textLeft;
	};
	const Case cases[] = {{24, 24, 3, 44}, {16, 16, 7, 36}, {32, 20, 5, 52}};
	for (const Case &c : cases)
	{
		SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
		const uint32_t colour = 0xff20e020u;
		gPixmap icon = solidPicture(c.w, c.h, colour);
		auto list = std::make_unique<eListBox<eListBoxEntryQUELT>>(nullptr);
		list->resize(eSize(230, 90));
		list->setNormalColor(gColor(0, 0, 0), gColor(255, 255, 255));
		new eListBoxEntryQUELT(list.get(), "entry one", &icon, 0);
		new eListBoxEntryQUELT(list.get(), "entry two", &icon, 1);
		ASSERT_EQ(list->getItemHeight(), 30);
		paint(*list);

		int rowTop = 30; // the second row
		EXPECT_EQ(surface.at(10, rowTop + c.pictureTop), colour);
		EXPECT_EQ(surface.at(10 + c.w - 1, rowTop + c.pictureTop + c.h - 1), colour);
		EXPECT_NE(surface.at(9, rowTop + c.pictureTop), colour);
		EXPECT_NE(surface.at(10, rowTop + c.pictureTop - 1), colour);
		auto [first, last] = inkColumns(surface, eRect(10 + c.w, rowTop, 220 - c.w, 30), black);
		EXPECT_GE(first, c.textLeft);
		EXPECT_LE(first, c.textLeft + 3);
	}
}

TEST_F(Painter, WindowHasItsFrameTitleAndClientArea)
{
	eWindow window;
	window.setText("Settings");
	window.move(ePoint(0, 0));
	window.resize(eSize(200, 120));
	window.setBackgroundColor(gColor(10, 200, 10));
	paint(window);
	uint32_t frame = surface.at(0, 60), title = surface.at(100, eWindow::borderWidth + 2);
	EXPECT_NE(frame, title);
	EXPECT_NE(title, 0xff0ac80au);
	EXPECT_TRUE(inkIn(surface, eRect(4, 2, 150, eWindow::titleBarHeight), title));
	EXPECT_EQ(surface.at(100, 100), 0xff0ac80au);
}

TEST_F(Painter, ProgressBarSplitsAtItsPercentage)
{
	eProgress bar(nullptr);
	bar.resize(eSize(200, 20));
	bar.setLeftColor(gColor(0, 0, 255));
	bar.setRightColor(gColor(255, 255, 0));
	bar.setPerc(40);
	paint(bar);
	EXPECT_EQ(surface.at(79, 10), 0xff0000ffu);
	EXPECT_EQ(surface.at(80, 10), 0xffffff00u);
	EXPECT_EQ(surface.at(199, 10), 0xffffff00u);
}

TEST_F(Painter, CheckboxNumberAndStatusBarShowTheirState)
{
	eWindow window(0);
	window.move(ePoint(0, 0));
	window.resize(eSize(240, 160));
	window.setBackgroundColor(gColor(0, 0, 0));
	auto *check = new eCheckbox(&window, 1, 1);
	check->move(ePoint(0, 0));
	check->resize(eSize(200, 30));
	check->setForegroundColor(gColor(255, 0, 255));
	check->setText("Autoplay");
	check->setHelpText("Plays the next file");
	auto *number = new eNumber(&window, 1, 0, 99, 2, nullptr);
	number->move(ePoint(0, 40));
	number->resize(eSize(60, 30));
	number->setNumber(42);
	auto *status = new eStatusBar(&window);
	status->move(ePoint(0, 80));
	status->resize(eSize(230, 40));
	paint(window);

	eRect c = window.getAbsoluteClientRect();
	// The focused checkbox: a box in the foreground colour with the check mark in it.
	int boxY = c.y + 5;
	EXPECT_EQ(surface.at(c.x + 1, boxY + 1), 0xffff00ffu);
	EXPECT_EQ(surface.at(c.x + 10, boxY + 10), 0xffff00ffu);
	check->setCheck(0);
	paint(window);
	EXPECT_NE(surface.at(c.x + 10, boxY + 10), 0xffff00ffu);
	// The number is drawn centred in its field; the status bar shows the focused help.
	EXPECT_TRUE(inkIn(surface, eRect(c.x + 15, c.y + 40, 30, 30), surface.at(c.x + 2, c.y + 42)));
	EXPECT_TRUE(inkIn(surface, eRect(c.x, c.y + 80, 230, 30), black));
}

TEST_F(Painter, MessageBoxShowsItsIconAndFocusedButton)
{
	eMessageBox box("Playback failed", "Error", eMessageBox::btOK | eMessageBox::iconError);
	box.show();
	Surface screen(720, 576);
	screen.fill(0x000000);
	{
		CairoPainter painter(screen.get());
		box.redraw(painter);
	}
	eWidget *icon = box.search("icon"), *ok = box.search("button_ok");
	ASSERT_TRUE(icon && ok);
	eRect i = icon->getAbsoluteRect(), b = ok->getAbsoluteRect();
	EXPECT_EQ(screen.at(i.x + 2, i.y + 2), icon->getBackgroundColor().argb());
	EXPECT_EQ(screen.at(b.x + 2, b.y + 2), ok->getBackgroundColor().argb());
	EXPECT_TRUE(inkIn(screen, b, ok->getBackgroundColor().argb()));
	EXPECT_TRUE(inkIn(screen, box.search("text")->getAbsoluteRect(), box.getBackgroundColor().argb()));
}

TEST_F(Painter, OnlyShownWidgetsAreDrawnAndChildrenStayInsideTheirParent)
{
	eWidget parent(nullptr);
	parent.move(ePoint(20, 20));
	parent.resize(eSize(100, 100));
	auto *big = new eLabel(&parent);
	big->move(ePoint(-20, -20));
	big->resize(eSize(200, 200));
	big->setBackgroundColor(gColor(255, 0, 0));
	auto *hidden = new eLabel(&parent);
	hidden->resize(eSize(50, 50));
	hidden->setBackgroundColor(gColor(0, 0, 255));
	hidden->hide();
	paint(parent);
	EXPECT_EQ(surface.at(20, 20), 0xffff0000u);
	EXPECT_EQ(surface.at(119, 119), 0xffff0000u);
	EXPECT_EQ(surface.at(19, 60), black);
	EXPECT_EQ(surface.at(120, 60), black);
	EXPECT_EQ(surface.at(60, 121), black);
}
