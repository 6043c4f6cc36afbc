#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/echeckbox.h"
#include "host/elabel.h"
#include "host/elistbox.h"
#include "host/emessagebox.h"
#include "host/eprogress.h"
#include "host/estatusbar.h"
#include "host/ewindow.h"
#include "host/gpainter.h"
#include "host/gpixmap.h"
#include "host/widgetdump.h"
#include "support/hostfixture.h"

namespace
{
// Writes down what a paint pass draws, in screen coordinates.
class RecordingPainter : public gPainter
{
public:
	std::vector<eString> ops;

	eString joined() const
	{
		eString out;
		for (const eString &op : ops)
			out += op + "\n";
		return out;
	}

protected:
	void drawFill(const eRect &r, const gColor &c) override
	{
		ops.push_back(eString::format("fill %d,%d %dx%d #%06x", r.x, r.y, r.w, r.h, c.argb() & 0xffffff));
	}
	void drawPixmap(const gPixmap &p, ePoint pos, const eRect &clip, int flags) override
	{
		ops.push_back(eString::format("blit %s %d,%d flags=%d clip=%d,%d %dx%d", p.source.c_str(), pos.x, pos.y,
			flags, clip.x, clip.y, clip.w, clip.h));
	}
	void drawText(const eRect &r, const eString &text, const gFont &font, const gColor &color, int flags,
		const eRect &clip) override
	{
		ops.push_back(eString::format("text \"%s\" %d,%d %dx%d flags=%d clip=%d,%d %dx%d", text.c_str(), r.x, r.y,
			r.w, r.h, flags, clip.x, clip.y, clip.w, clip.h));
	}
};

// Sets a flag when it dies, so a test can tell who deleted whom.
class Probe : public eWidget
{
public:
	Probe(eWidget *parent, bool *dead) : eWidget(parent), m_dead(dead) {}
	~Probe() override { *m_dead = true; }

private:
	bool *m_dead;
};

struct WidgetsTest : ::testing::Test
{
	HostFixture host;
};

TEST_F(WidgetsTest, ChildrenDieWithTheirParentAndAChildDeletedFirstLeavesIt)
{
	bool firstDead = false, secondDead = false, grandchildDead = false;
	auto *window = new eWindow();
	auto *first = new Probe(window, &firstDead);
	new Probe(first, &grandchildDead);
	auto *second = new Probe(window, &secondDead);
	EXPECT_EQ(eWidget::topLevelWidgets().back(), window);

	delete second;
	EXPECT_TRUE(secondDead);
	ASSERT_EQ(window->getChildren().size(), 1u);

	delete window;
	EXPECT_TRUE(firstDead);
	EXPECT_TRUE(grandchildDead);
	EXPECT_TRUE(eWidget::topLevelWidgets().empty());
}

TEST_F(WidgetsTest, SearchFindsTheWidgetOrADescendantByName)
{
	eWindow window;
	window.setName("ezap_main");
	eWidget bar(&window);
	bar.setName("fileInfoBar");
	eLabel *inner = new eLabel(&bar);
	inner->setName("fileinfos");
	EXPECT_EQ(window.search("ezap_main"), &window);
	EXPECT_EQ(window.search("fileinfos"), inner);
	EXPECT_EQ(bar.search("fileinfos"), inner);
	EXPECT_EQ(window.search("missing"), nullptr);
}

TEST_F(WidgetsTest, WindowClientAreaSitsInsideTheFrameAndPlacesTheChildren)
{
	eWindow window;
	window.cmove(ePoint(75, 75));
	window.cresize(eSize(600, 440));
	EXPECT_EQ(window.getClientSize(), eSize(600, 440));
	EXPECT_EQ(window.getAbsoluteClientRect(), eRect(75, 75, 600, 440));
	EXPECT_EQ(window.getPosition(), ePoint(75 - eWindow::borderWidth, 75 - eWindow::titleBarHeight - eWindow::borderWidth));

	eLabel label(&window);
	label.move(ePoint(10, 40));
	label.resize(eSize(138, 30));
	EXPECT_EQ(label.getAbsoluteRect(), eRect(85, 115, 138, 30));
	EXPECT_EQ(label.getClientRect(), eRect(0, 0, 138, 30));
}

TEST_F(WidgetsTest, DumpShowsOnlyVisibleWidgetsWithScreenGeometry)
{
	eWindow window;
	window.setText("QUELT");
	window.cmove(ePoint(75, 75));
	window.cresize(eSize(600, 440));
	eLabel red(&window);
	red.setName("l_root");
	red.move(ePoint(10, 0));
	red.resize(eSize(138, 30));
	red.setText("File");
	red.show();
	eLabel hidden(&window);
	hidden.setName("Info");
	hidden.setText("never shown");
	hidden.hide();
	eWidget group(&window);
	group.setName("group");
	group.hide();
	group.move(ePoint(0, 100));
	group.resize(eSize(200, 50));
	eProgress bar(&group);
	bar.setName("bar");
	bar.move(ePoint(5, 5));
	bar.resize(eSize(100, 10));
	bar.setPerc(40);
	bar.show();

	EXPECT_EQ(WidgetDump::screen(), "");
	window.show();
	EXPECT_EQ(WidgetDump::screen(), "eWindow \"\" 73,41 604x476 text=\"QUELT\"\n"
					"  eLabel \"l_root\" 85,75 138x30 text=\"File\"\n");

	group.show();
	EXPECT_EQ(WidgetDump::screen(), "eWindow \"\" 73,41 604x476 text=\"QUELT\"\n"
					"  eLabel \"l_root\" 85,75 138x30 text=\"File\"\n"
					"  eWidget \"group\" 75,175 200x50\n"
					"    eProgress \"bar\" 80,180 100x10 perc=40\n");

	window.hide();
	EXPECT_TRUE(bar.isVisible());
	EXPECT_FALSE(bar.isVisibleOnScreen());
	EXPECT_EQ(WidgetDump::screen(), "");
}

TEST_F(WidgetsTest, DumpMarksTheHighlightedEntryTheFocusAndThePicture)
{
	eWindow window;
	window.cmove(ePoint(100, 100));
	window.cresize(eSize(300, 200));
	auto *list = new eListBox<eListBoxEntryText>(&window);
	list->setName("fileList");
	list->move(ePoint(0, 0));
	list->resize(eSize(300, 60));
	new eListBoxEntryText(list, "first");
	new eListBoxEntryText(list, "say \"hi\"");
	new eListBoxEntryText(list, "third");
	list->setCurrent(1);
	list->setHelpText("two\nlines");
	list->show();
	gPixmap picture(eSize(4, 4));
	picture.source = "/pics/help.png";
	eLabel pic(&window);
	pic.setPixmap(&picture);
	pic.show();
	window.show();

	EXPECT_EQ(WidgetDump::screen(), "eWindow \"\" 98,66 304x236\n"
					"  eListBox \"fileList\" 100,100 300x60 help=\"two\\nlines\" focus entries=3 current=1\n"
					"    - [0] \"first\"\n"
					"    > [1] \"say \\\"hi\\\"\"\n"
					"    - [2] \"third\" (scrolled out)\n"
					"  eLabel \"\" 100,100 0x0 pixmap=\"/pics/help.png\"\n");
}

TEST_F(WidgetsTest, StatusBarShowsTheHelpTextOfTheFocusedWidget)
{
	eWindow window;
	window.cresize(eSize(400, 300));
	auto *list = new eListBox<eListBoxEntryText>(&window);
	auto *check = new eCheckbox(&window, 0, 1);
	auto *status = new eStatusBar(&window);
	list->setHelpText("Enter directory");
	check->setHelpText("continuous play");
	EXPECT_EQ(window.getFocus(), list);
	EXPECT_EQ(status->getText(), "Enter directory");

	list->setHelpText("Go up one directory level");
	EXPECT_EQ(status->getText(), "Go up one directory level");

	window.setFocus(check);
	EXPECT_EQ(status->getText(), "continuous play");
	// A widget without the focus does not change the line.
	list->setHelpText("Startoffset: 05min.");
	EXPECT_EQ(status->getText(), "continuous play");

	// The focus passes on when the focused widget dies.
	delete check;
	EXPECT_EQ(window.getFocus(), list);
	EXPECT_EQ(status->getText(), "Startoffset: 05min.");
}

TEST_F(WidgetsTest, PropertiesAreStoredAndTheKnownOnesApplied)
{
	eWidget::setColorLookup([](const eString &name, gColor &out) {
		if (name != "std_dred")
			return false;
		out = gColor(0x80, 0, 0);
		return true;
	});
	eLabel label(nullptr);
	struct Case
	{
		const char *prop, *value;
		int result;
	};
	const Case cases[] = {
		{"align", "center", 0},
		{"vcenter", "", 0},
		{"backgroundColor", "std_dred", 0},
		{"foregroundColor", "#ff102030", 0},
		{"font", "Mono:24", 0},
		{"position", "10:20", 0},
		{"size", "138,30", 0},
		{"size", "wide", -1},
		{"sparkle", "yes", -1},
	};
	for (const Case &c : cases)
	{
		EXPECT_EQ(label.setProperty(c.prop, c.value), c.result) << c.prop << "=" << c.value;
		EXPECT_EQ(label.getProperty(c.prop), c.value) << c.prop;
	}
	EXPECT_TRUE(label.hasBackgroundColor());
	EXPECT_EQ(label.getBackgroundColor(), gColor(0x80, 0, 0));
	EXPECT_EQ(label.getForegroundColor(), gColor(0x10, 0x20, 0x30, 0xff));
	EXPECT_EQ(label.getFont(), gFont("Mono", 24));
	EXPECT_EQ(label.getPosition(), ePoint(10, 20));
	EXPECT_EQ(label.getSize(), eSize(138, 30));

	eProgress bar(nullptr);
	EXPECT_EQ(bar.setProperty("leftColor", "#00ff00"), 0);
	EXPECT_EQ(bar.getLeftColor(), gColor(0, 255, 0));
	eWidget::setColorLookup(nullptr);
}

TEST_F(WidgetsTest, PaintDrawsShownWidgetsClippedToTheirParents)
{
	eWindow window;
	window.cmove(ePoint(100, 100));
	window.cresize(eSize(200, 100));
	eLabel label(&window);
	label.move(ePoint(150, 10));
	label.resize(eSize(100, 30));
	label.setText("File");
	label.setProperty("align", "center");
	label.setProperty("vcenter", "");
	label.setBackgroundColor(gColor(0x80, 0, 0));
	label.show();
	gPixmap picture(eSize(8, 8));
	picture.source = "vol.png";
	eLabel pic(&window);
	pic.move(ePoint(0, 50));
	pic.resize(eSize(8, 8));
	pic.setPixmap(&picture);
	pic.setBlitFlags(gPainter::BF_ALPHA_TEST);
	pic.show();
	eLabel hidden(&window);
	hidden.setText("hidden");
	hidden.hide();
	window.show();

	RecordingPainter painter;
	eWidget::redrawScreen(painter);
	eString ops = painter.joined();
	// The label sticks out of the client area on the right: 50 of its 100 pixels show.
	EXPECT_NE(ops.find("fill 250,110 50x30 #800000"), eString::npos) << ops;
	EXPECT_NE(ops.find("text \"File\" 250,110 100x30 flags=26 clip=250,110 50x30"), eString::npos) << ops;
	EXPECT_NE(ops.find("blit vol.png 100,150 flags=1"), eString::npos) << ops;
	EXPECT_EQ(ops.find("hidden"), eString::npos) << ops;
}

// A list entry in the style of a plug-in's own: it draws at its row and reports
// where, so the test can check the rows and the highlight.
class RowEntry : public eListBoxEntryText
{
public:
	RowEntry(eListBoxBase *list, const eString &text, std::vector<eString> *log)
		: eListBoxEntryText(list, text), m_log(log)
	{
	}
	const eString &redraw(gPainter *rc, const eRect &rect, gColor, gColor, gColor, gColor, int highlited) override
	{
		m_log->push_back(eString::format("%s y=%d h=%d hl=%d zero=%d,%d", text.c_str(), rect.y, rect.h, highlited,
			rc->getLogicalZero().x, rc->getLogicalZero().y));
		return text;
	}

private:
	std::vector<eString> *m_log;
};

TEST_F(WidgetsTest, ListPaintsTheVisibleRowsInItsOwnCoordinatesAndHighlightsWhenFocused)
{
	std::vector<eString> log;
	eWindow window;
	window.cmove(ePoint(100, 100));
	window.cresize(eSize(300, 200));
	auto *list = new eListBox<RowEntry>(&window);
	list->move(ePoint(10, 40));
	list->resize(eSize(280, 2 * eListBoxEntryText::getEntryHeight() + 5));
	for (const char *name : {"a", "b", "c"})
		new RowEntry(list, name, &log);
	list->setCurrent(2);
	list->show();
	window.show();

	RecordingPainter painter;
	eWidget::redrawScreen(painter);
	EXPECT_EQ(eListBoxEntryText::getEntryHeight(), 30);
	ASSERT_EQ(log.size(), 2u);
	EXPECT_EQ(log[0], "b y=0 h=30 hl=0 zero=110,140");
	EXPECT_EQ(log[1], "c y=30 h=30 hl=1 zero=110,140");
}

TEST_F(WidgetsTest, TextParagraphMeasuresWithTheDefaultEstimate)
{
	eTextPara *para = new eTextPara(eRect(0, 0, 40, 50));
	para->setFont(gFont("DejaVu Sans", 20));
	para->renderString("RC21");
	// 0.55 x 20 pixels per byte, one line of 20 pixels.
	EXPECT_EQ(para->getBoundBox(), eRect(0, 0, 44, 20));
	para->renderString("two\nlines!");
	EXPECT_EQ(para->getBoundBox(), eRect(0, 0, 66, 40));
	EXPECT_EQ(para->grab(), para);
	para->destroy();
	para->destroy();
}

TEST_F(WidgetsTest, RepaintHookHearsOfVisibleChangesOnlyAndAtomicListUpdatesOnce)
{
	int calls = 0;
	eWidget::setRepaintHook([&calls](eWidget *) { ++calls; });
	eWindow window;
	auto *list = new eListBox<eListBoxEntryText>(&window);
	list->show();
	new eListBoxEntryText(list, "hidden change");
	EXPECT_EQ(calls, 0);

	window.show();
	EXPECT_GT(calls, 0);
	calls = 0;
	list->beginAtomic();
	list->clearList();
	for (int i = 0; i < 10; ++i)
		new eListBoxEntryText(list, eString::format("%d", i));
	list->setCurrent(4);
	EXPECT_EQ(calls, 0);
	list->endAtomic();
	EXPECT_EQ(calls, 1);
	EXPECT_EQ(list->getCount(), 10);
	EXPECT_EQ(list->getCurrent()->getText(), "4");

	calls = 0;
	window.hide();
	EXPECT_EQ(calls, 1);
	eWidget::setRepaintHook(nullptr);
}

TEST_F(WidgetsTest, ListOwnsItsEntriesAndAnEntryDeletedAloneLeavesIt)
{
	eListBox<eListBoxEntryText> list(nullptr);
	auto *a = new eListBoxEntryText(&list, "a");
	auto *b = new eListBoxEntryText(&list, "b");
	new eListBoxEntryText(&list, "c");
	EXPECT_EQ(list.getCurrent(), a);
	list.setCurrent(b);
	delete b;
	EXPECT_EQ(list.getCount(), 2);
	EXPECT_EQ(list.getCurrent()->getText(), "c");
	// Appending an entry that is already in the list changes nothing.
	list.append(a);
	EXPECT_EQ(list.getCount(), 2);

	int visited = 0;
	list.forEachEntry([&visited](eListBoxEntryText &) { ++visited; });
	EXPECT_EQ(visited, 2);
	EXPECT_EQ(list.forEachEntry([](eListBoxEntryText &e) { return e.getText() == "a"; }), 1);
}

TEST_F(WidgetsTest, ACloseBeforeExecEndsTheRunAtOnce)
{
	host.loop();
	Watchdog watchdog(30, "close before exec");
	eWindow window;
	window.close(0);
	EXPECT_EQ(window.exec(), 0);
	EXPECT_TRUE(window.isVisible());
	EXPECT_FALSE(window.isModal());
}

TEST_F(WidgetsTest, ShowingATopLevelWidgetBringsItToTheFront)
{
	eWindow back, front;
	back.show();
	front.show();
	EXPECT_EQ(eWidget::topLevelWidgets().back(), &front);
	back.show();
	EXPECT_EQ(eWidget::topLevelWidgets().back(), &back);
	front.zOrderRaise();
	EXPECT_EQ(eWidget::topLevelWidgets().back(), &front);

	eLabel onDesktop(eWidget::desktop());
	onDesktop.show();
	EXPECT_TRUE(onDesktop.isTopLevel());
	EXPECT_EQ(eWidget::topLevelWidgets().back(), &onDesktop);
}

TEST_F(WidgetsTest, MessageBoxLaysOutItsIconTextAndButtonsOnTheScreen)
{
	eMessageBox box("Stream paused. Press yellow or green to release.", "Information", 16, 1, 0);
	box.show();
	eRect frame = box.getAbsoluteRect();
	EXPECT_GE(frame.x, 0);
	EXPECT_LE(frame.right(), kScreenWidth);
	EXPECT_EQ(box.search("icon")->getText(), "i");
	EXPECT_EQ(box.search("button_ok"), nullptr);
	EXPECT_EQ(box.search("text")->getText(), "Stream paused. Press yellow or green to release.");

	eMessageBox error("Playback failed", "Error", 129, 1, 0);
	EXPECT_EQ(error.search("icon")->getText(), "!");
	EXPECT_EQ(error.getFocus(), error.search("button_ok"));
}
} // namespace
