// Choosing a file plays it, and the supervision plays on through the list to
// its end, where the end-of-list action is carried out.

#include "session/sessionfixture.h"

namespace
{
using namespace sessiontest;

struct EndOfListCase
{
	const char *name;
	int shutDown;
	bool quits;
	int quitCode;
	size_t picturesAtTheEnd;
};

class ContinuousPlayTest : public SessionTest, public ::testing::WithParamInterface<EndOfListCase>
{
};

TEST_P(ContinuousPlayTest, PlaysEveryFileThenCarriesOutTheEndOfListAction)
{
	const EndOfListCase &c = GetParam();
	installPictureTool();
	auto window = openBrowser();
	ASSERT_EQ(1u, picturesShown(1)) << "the timer guard's first run shows the picture";
	shutDown = c.shutDown;

	runInside(*window, [&] {
		press({RcKey::down, RcKey::ok});
		EXPECT_FALSE(window->menuVisible) << "the window is parked while a file plays";
		ASSERT_TRUE(runUntilTrue([&] { return window->menuVisible; }));
	});

	std::vector<eString> files = {"a.mpg", "b.mpg", "c.mpg"};
	std::vector<eString> inputs;
	for (const eString &file : files)
		inputs.push_back(eQUELT::quote("/media/films/" + file));
	EXPECT_EQ(inputs, playedInputs());
	EXPECT_EQ(3u, vlc.connections(VlcDouble::Port::stream));
	EXPECT_EQ(3u, decoderCalls("Set 100 200 "));
	EXPECT_EQ("c.mpg", loadFile);
	EXPECT_EQ("Playlist End", nextFile);
	EXPECT_EQ(0, window->currentIndex);
	EXPECT_FALSE(window->playTimer->isActive());
	EXPECT_EQ(STATUS_IDLE, engine->status.load());
	EXPECT_EQ(c.quits, host.loop().quitRequested());
	if (c.quits)
	{
		EXPECT_EQ(c.quitCode, host.loop().quitCode());
	}
	// One picture before each following file, and one at the end of the list
	// when nothing else happens there.
	EXPECT_EQ(c.picturesAtTheEnd, picturesShown(c.picturesAtTheEnd));
	EXPECT_TRUE(watcher->shown.empty());
}

INSTANTIATE_TEST_SUITE_P(ShutDownModes, ContinuousPlayTest,
	::testing::Values(EndOfListCase{"nothing", 0, false, 0, 4}, EndOfListCase{"restartGui", 1, true, 2, 3},
		EndOfListCase{"restartReceiver", 2, true, 4, 3}, EndOfListCase{"switchOff", 3, true, 0, 3}),
	[](const ::testing::TestParamInfo<EndOfListCase> &info) { return eString(info.param.name); });

TEST_F(SessionTest, WithoutContinuousPlayTheFirstFileEndsTheList)
{
	AUTOPLAY = 0;
	shutDown = 3;
	auto window = openBrowser();
	AUTOPLAY = 0;
	runInside(*window, [&] {
		press({RcKey::down, RcKey::ok});
		ASSERT_TRUE(runUntilTrue([&] { return window->menuVisible; }));
	});

	EXPECT_EQ(1u, playedInputs().size());
	EXPECT_TRUE(host.loop().quitRequested());
	EXPECT_EQ(0, host.loop().quitCode());
}

TEST_F(SessionTest, StartOffsetsChooseTheStartWord)
{
	auto window = openBrowser();
	window->playList[1].startOffset = 7;
	loadFile = "a.mpg";
	window->playerStart(1);
	std::vector<eString> sent = commands();
	ASSERT_GE(sent.size(), 4u);
	EXPECT_EQ("in_play", sent[sent.size() - 2].left(7));
	EXPECT_EQ("seek&val=%2B7m", sent.back()) << "start3 with the offset";

	vlc.clearRequests();
	window->playerStart(2);
	sent = commands();
	ASSERT_FALSE(sent.empty());
	EXPECT_EQ("in_play", sent.back().left(7)) << "start2: no seek follows";
	EXPECT_EQ("a.mpg", eZapLCD::getInstance()->lcdMain->serviceName());
}
} // namespace
