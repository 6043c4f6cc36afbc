// The video plane under the on-screen display: the test card while the live
// service plays, the decoder's pictures with their aspect kept, the still picture
// handed over by the still-picture tool, and the LCD.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "box/boxdecoder.h"
#include "box/boxscreen.h"
#include "box/screen_fixture.h"
#include "box/stillpicture.h"
#include "host/eservice.h"
#include "host/ezaplcd.h"
#include "host/mainloop.h"
#include "support/hostfixture.h"
#include "support/process.h"

namespace fs = std::filesystem;
using ScreenTest::near;

namespace
{
class Video : public ::testing::Test
{
protected:
	Video()
	{
		eServiceInterface::getInstance()->stop();
		screen.start(true, 1);
	}
	~Video() override { eServiceInterface::getInstance()->stop(); }

	// Turns the loop until cond holds; a posted closure from another thread wakes it.
	template <class Cond>
	bool turnUntil(Cond cond)
	{
		for (int i = 0; i < 10000 && !cond(); ++i)
			host.loop().processOneEvent(true);
		return cond();
	}

	// The still-picture tool as the box root holds it.
	std::string installTool()
	{
		fs::path bin = fs::path(host.root().c_str()) / "var/bin";
		fs::create_directories(bin);
		fs::copy_file(ScreenTest::stagedRoot() + "/var/bin/showiframe", bin / "showiframe",
			fs::copy_options::overwrite_existing);
		return (bin / "showiframe").string();
	}

	HostFixture host;
	Watchdog watchdog{120, "a video plane test"};
	BoxScreen screen{&host.loop()};
};

DecodedPicture solid(int w, int h, int aspectNum, int aspectDen, uint32_t argb)
{
	DecodedPicture p;
	p.width = w;
	p.height = h;
	p.aspectNum = aspectNum;
	p.aspectDen = aspectDen;
	p.argb.assign(size_t(w) * h, argb);
	p.serial = 1;
	return p;
}

std::string stagedStill()
{
	return ScreenTest::stagedRoot() + "/var/tuxbox/config/enigma/pictures/quelt/quelt.mvi";
}
} // namespace

TEST(VideoPlaneFit, KeepsTheDisplayAspectOnTheFourByThreeScreen)
{
	struct Case
	{
		int w, h, num, den;
		eRect expected;
	};
	const Case cases[] = {
		{720, 576, 4, 3, eRect(0, 0, 720, 576)},
		{720, 576, 16, 9, eRect(0, 72, 720, 432)},
		{704, 576, 11, 9, eRect(30, 0, 660, 576)},
		{352, 288, 0, 0, eRect(30, 0, 660, 576)},
		{1920, 1080, 16, 9, eRect(0, 72, 720, 432)},
		{0, 576, 4, 3, eRect()},
	};
	for (const Case &c : cases)
		EXPECT_EQ(VideoPlane::fit(c.w, c.h, c.num, c.den), c.expected) << c.w << "x" << c.h << " " << c.num << ":" << c.den;
}

TEST_F(Video, TheTestCardShowsWhileTheLiveServicePlays)
{
	EXPECT_EQ(screen.videoPlane().source(), VideoPlane::Source::black);
	eServiceReference live;
	live.type = 1;
	live.descr = "Test card";
	eServiceInterface::getInstance()->play(live);
	EXPECT_EQ(screen.videoPlane().source(), VideoPlane::Source::testCard);
	// The second colour bar is 75 % yellow.
	EXPECT_TRUE(near(screen.composeNow().at(210, 250), 0xffbfbf00u, 3));

	eServiceInterface::getInstance()->stop();
	EXPECT_EQ(screen.videoPlane().source(), VideoPlane::Source::black);
	EXPECT_EQ(screen.composeNow().at(210, 250), 0xff000000u);
}

TEST_F(Video, TheDecodersPictureIsScaledWithItsAspectUnderTheOsd)
{
	screen.videoPlane().setDecodedSource([](DecodedPicture &out) {
		out = solid(64, 36, 16, 9, 0xffc02020u);
		return true;
	});
	screen.videoPlane().decodedPictureArrived();
	const ScreenFrame &f = screen.composeNow();
	EXPECT_EQ(f.at(360, 288), 0xffc02020u);
	EXPECT_EQ(f.at(360, 70), 0xff000000u);
	EXPECT_EQ(f.at(360, 505), 0xff000000u);
	screen.videoPlane().setDecodedSource(nullptr);
}

TEST_F(Video, TheStillPictureToolHandsItsPictureToTheBox)
{
	std::string socketPath = host.root() + "/dev/video", error;
	fs::create_directories(host.root() + "/dev");
	ASSERT_TRUE(screen.listenForStillPictures(socketPath, error)) << error;
	std::string tool = installTool();

	ProcessResult r = runProcess({tool, "/var/tuxbox/config/enigma/pictures/quelt/quelt.mvi"}, 30);
	EXPECT_EQ(r.exitStatus, 2) << "the receiver path is not in this root yet: " << r.output;

	r = runProcess({tool, stagedStill()}, 30);
	ASSERT_EQ(r.exitStatus, 0) << r.output;
	ASSERT_TRUE(turnUntil([&] { return screen.videoPlane().source() == VideoPlane::Source::still; }));
	// The background's orange play sign, in the middle of the 4:3 picture.
	uint32_t sign = screen.composeNow().at(330, 225);
	EXPECT_GT((sign >> 16) & 0xff, 200u);
	EXPECT_LT(sign & 0xff, 80u);

	// Bytes that are no picture change nothing; the tool says so.
	std::string junk = host.root() + "/junk.mvi";
	std::ofstream(junk) << std::string(5000, 'x');
	r = runProcess({tool, junk}, 30);
	EXPECT_EQ(r.exitStatus, 1) << r.output;
	EXPECT_EQ(screen.videoPlane().source(), VideoPlane::Source::still);
}

TEST_F(Video, TheStillPictureToolSaysWhenNoBoxRuns)
{
	ProcessResult r = runProcess({installTool(), stagedStill()}, 30);
	EXPECT_EQ(r.exitStatus, 2);
	EXPECT_NE(r.output.find("no box is running"), std::string::npos) << r.output;
}

TEST(StillPicture, DecodesTheStagedStillAndRefusesWhatIsNone)
{
	std::ifstream in(stagedStill(), std::ios::binary);
	std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
	ASSERT_FALSE(bytes.empty()) << "no staged still picture";
	DecodedPicture p;
	std::string error;
	ASSERT_TRUE(StillPicture::decode(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(), p, error)) << error;
	EXPECT_EQ(p.width, 720);
	EXPECT_EQ(p.height, 576);
	EXPECT_EQ(VideoPlane::fit(p.width, p.height, p.aspectNum, p.aspectDen), eRect(0, 0, 720, 576));

	const std::string none[] = {std::string(), std::string(100, '\0'), bytes.substr(0, 40), std::string("\x00\x00\x01\xb3", 4)};
	for (const std::string &b : none)
		EXPECT_FALSE(StillPicture::decode(reinterpret_cast<const uint8_t *>(b.data()), b.size(), p, error)) << b.size();
}

TEST_F(Video, DecodedStreamPicturesReachTheScreen)
{
	fs::create_directories(host.root() + "/dev");
	const char *source = getenv("QUELT_SOURCE_DIR");
	std::ifstream in(std::string(source ? source : ".") + "/tests/fixtures/stream-mpeg2-mpga.ts", std::ios::binary);
	std::string stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
	ASSERT_FALSE(stream.empty());

	BoxDecoder decoder(BoxDecoder::Pacing::fast);
	ASSERT_TRUE(decoder.start()) << decoder.error();
	screen.attachDecoder(&decoder);
	decoderParameters parms;
	parms.vpid = 0x64;
	parms.apid = 0xc8;
	decoder.set(parms);
	std::thread feeder([&] {
		int fd = open(decoder.fifoPath().c_str(), O_WRONLY | O_CLOEXEC);
		for (size_t done = 0; fd >= 0 && done < stream.size();)
		{
			ssize_t n = write(fd, stream.data() + done, stream.size() - done);
			if (n <= 0)
				break;
			done += size_t(n);
		}
		if (fd >= 0)
			close(fd);
	});
	feeder.join();
	ASSERT_TRUE(decoder.waitUntilIdle(std::chrono::seconds(60)));
	ASSERT_GT(decoder.videoFrames(), 0u);
	ASSERT_TRUE(turnUntil([&] { return screen.videoPlane().source() == VideoPlane::Source::decoded; }));
	EXPECT_TRUE(ScreenTest::inkIn(screen.composeNow(), eRect(200, 200, 320, 176), 0xff000000u));
	screen.detachDecoder();
	decoder.stop();
}

TEST_F(Video, TheLcdTextGoesToTheLog)
{
	eZapLCD *lcd = eZapLCD::getInstance();
	lcd->lcdMain->setServiceName("movie.avi");
	lcd->lcdMain->show();
	EXPECT_EQ(screen.lcd().text(), "movie.avi");
	EXPECT_TRUE(host.logContains("[box] LCD: movie.avi"));
	lcd->lcdMain->hide();
	EXPECT_EQ(screen.lcd().text(), "");
}
