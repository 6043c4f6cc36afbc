// How a browser row draws: picture and text positions for pictures of different
// sizes, the text laid out once, and nothing at all without a picture.

#include <gtest/gtest.h>

#include <vector>

#include "browser/elistboxentryquelt.h"
#include "host/eskin.h"
#include "host/gpainter.h"
#include "support/hostfixture.h"

namespace
{
// Keeps what reaches the device, in device coordinates.
class RecordingPainter : public gPainter
{
public:
	std::vector<eString> ops;

protected:
	void drawFill(const eRect &r, const gColor &c) override
	{
		ops.push_back(eString::format("fill %d,%d %dx%d #%06x", r.x, r.y, r.w, r.h, c.argb() & 0xffffff));
	}
	void drawPixmap(const gPixmap &p, ePoint pos, const eRect &clip, int flags) override
	{
		ops.push_back(eString::format("blit %dx%d at %d,%d flags=%d", p.width(), p.height(), pos.x, pos.y, flags));
	}
	void drawText(const eRect &r, const eString &text, const gFont &font, const gColor &color, int flags,
		const eRect &clip) override
	{
		ops.push_back(eString::format("text \"%s\" at %d,%d size %d #%06x", text.c_str(), r.x, r.y, font.pointSize,
			color.argb() & 0xffffff));
	}
};

const gColor activeB(0x30, 0x50, 0xa0), activeF(255, 255, 255), normalB(0x18, 0x20, 0x38), normalF(0xe0, 0xe0, 0xe0);

std::vector<eString> draw(eListBoxEntryQUELT &entry, const eRect &row, int highlighted = 0)
{
	RecordingPainter painter;
	entry.redraw(&painter, row, activeB, activeF, normalB, normalF, highlighted);
	return painter.ops;
}

struct GeometryCase
{
	const char *name;
	eSize picture;
	eRect row;
	std::vector<eString> ops;
};

class EntryGeometryTest : public ::testing::TestWithParam<GeometryCase>
{
};

// With the default font (20 pixels high) the text stands 5 pixels below the top of
// a 30-pixel row.
TEST_P(EntryGeometryTest, PictureAtTenCentredAndTextTwentyBeyondItsWidth)
{
	const GeometryCase &c = GetParam();
	gPixmap picture(c.picture);
	eListBoxEntryQUELT entry(nullptr, "movie.avi", &picture, 0);
	EXPECT_EQ(c.ops, draw(entry, c.row));
}

INSTANTIATE_TEST_SUITE_P(Pictures, EntryGeometryTest,
	::testing::Values(GeometryCase{"sixteen", {16, 16}, {0, 60, 580, 30},
						  {"fill 0,60 580x30 #182038", "blit 16x16 at 10,67 flags=1",
							  "text \"movie.avi\" at 36,65 size 20 #e0e0e0"}},
		// Taller than the row: it starts above the row, the half truncated towards zero.
		GeometryCase{"thirtyTwo", {32, 32}, {0, 60, 580, 30},
			{"fill 0,60 580x30 #182038", "blit 32x32 at 10,59 flags=1", "text \"movie.avi\" at 52,65 size 20 #e0e0e0"}},
		GeometryCase{"thirtyTwoByThirtyThree", {32, 33}, {0, 30, 580, 30},
			{"fill 0,30 580x30 #182038", "blit 32x33 at 10,29 flags=1", "text \"movie.avi\" at 52,35 size 20 #e0e0e0"}},
		GeometryCase{"twentyFourHigh", {16, 24}, {0, 0, 580, 30},
			{"fill 0,0 580x30 #182038", "blit 16x24 at 10,3 flags=1", "text \"movie.avi\" at 36,5 size 20 #e0e0e0"}},
		// The picture's x is the list's, the text's follows the row's left edge.
		GeometryCase{"rowOffToTheRight", {16, 16}, {40, 0, 500, 30},
			{"fill 40,0 500x30 #182038", "blit 16x16 at 10,7 flags=1", "text \"movie.avi\" at 76,5 size 20 #e0e0e0"}}),
	[](const ::testing::TestParamInfo<GeometryCase> &info) { return eString(info.param.name); });

TEST(EntryDrawing, WithoutAPictureNothingIsDrawn)
{
	eListBoxEntryQUELT entry(nullptr, "movie.avi", nullptr, 3);
	EXPECT_TRUE(draw(entry, {0, 0, 580, 30}).empty());
	EXPECT_TRUE(draw(entry, {0, 0, 580, 30}, 1).empty());
	EXPECT_EQ("movie.avi", entry.getText());
	EXPECT_EQ(3, entry.getIndex());
}

TEST(EntryDrawing, TheTextIsLaidOutOnceAndKeepsItsHeight)
{
	gPixmap picture(eSize(16, 16));
	eListBoxEntryQUELT entry(nullptr, "a", &picture, 0);
	draw(entry, {0, 0, 580, 30});

	// Highlighted: the colours change, the place does not.
	EXPECT_EQ((std::vector<eString>{"fill 0,30 580x30 #3050a0", "blit 16x16 at 10,37 flags=1",
				  "text \"a\" at 36,35 size 20 #ffffff"}),
		draw(entry, {0, 30, 580, 30}, 1));
	// A taller row moves the picture to its middle; the text keeps the offset of its
	// first layout.
	EXPECT_EQ((std::vector<eString>{"fill 0,0 580x50 #182038", "blit 16x16 at 10,17 flags=1",
				  "text \"a\" at 36,5 size 20 #e0e0e0"}),
		draw(entry, {0, 0, 580, 50}));
}

TEST(EntryDrawing, TheTextTakesTheSkinsListFont)
{
	HostFixture host;
	host.writeFile("/share/skin.xml",
		"<skin><font name=\"eListBox.EntryText.normal\" family=\"DejaVu Sans\" size=\"16\"/></skin>\n");
	eSkin skin;
	ASSERT_EQ(0, skin.load("/share/skin.xml"));
	skin.makeActive();
	gPixmap picture(eSize(16, 16));
	eListBoxEntryQUELT entry(nullptr, "a", &picture, 0);
	std::vector<eString> ops = draw(entry, {0, 0, 580, 30});
	eSkin::setActive(nullptr);
	ASSERT_EQ(3u, ops.size());
	EXPECT_EQ("text \"a\" at 36,7 size 16 #e0e0e0", ops[2]);
}

TEST(EntryDrawing, EntriesFillTheirListInOrderOfCreation)
{
	gPixmap small(eSize(16, 16)), large(eSize(32, 32));
	eListBox<eListBoxEntryQUELT> list(nullptr, nullptr, 1, 30);
	list.move(ePoint(10, 42));
	list.resize(eSize(580, 280));
	list.show();
	new eListBoxEntryQUELT(&list, "first", &small, 0);
	new eListBoxEntryQUELT(&list, "second", &large, 1);
	new eListBoxEntryQUELT(&list, "third", nullptr, 2);
	ASSERT_EQ(3, list.getCount());
	EXPECT_EQ("first", list.getEntry(0)->getText());
	EXPECT_EQ(2, list.getEntry(2)->getIndex());

	RecordingPainter painter;
	list.redraw(painter);
	std::vector<eString> blits, texts;
	for (const eString &op : painter.ops)
	{
		if (op.left(4) == "blit")
			blits.push_back(op);
		else if (op.left(4) == "text")
			texts.push_back(op.left(op.find(" size")));
	}
	// The list's own place moves everything; the empty third row draws nothing.
	EXPECT_EQ((std::vector<eString>{"blit 16x16 at 20,49 flags=1", "blit 32x32 at 20,71 flags=1"}), blits);
	EXPECT_EQ((std::vector<eString>{"text \"first\" at 46,47", "text \"second\" at 62,77"}), texts);
}
} // namespace
