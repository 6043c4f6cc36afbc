#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/eskin.h"
#include "host/ewidget.h"
#include "host/gpixmap.h"
#include "host/log.h"
#include "host/paths.h"

namespace
{
class TempDir
{
public:
	TempDir()
	{
		std::string tmpl = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/skin_test.XXXXXX";
		m_path = mkdtemp(tmpl.data());
	}
	~TempDir() { std::filesystem::remove_all(m_path); }
	const std::string &path() const { return m_path; }

private:
	std::string m_path;
};

// A 2x1 RGBA picture: 0xFF112233 and 0x80445566.
const std::string tinyPng(
	"\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x01\x08\x06\x00\x00"
	"\x00\xf4\x22\x7f\x8a\x00\x00\x00\x11\x49\x44\x41\x54\x78\x9c\x63\x10\x54\x32\xfe\xef\x12\x9a\xd6\x00\x00\x0b\x07"
	"\x02\xe5\x33\x19\xb2\xc0\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
	74);

void writeFile(const std::string &path, const std::string &text)
{
	std::filesystem::create_directories(std::filesystem::path(path).parent_path());
	std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class LogCapture
{
public:
	LogCapture() { hostlog::setSink(&LogCapture::sink, this); }
	~LogCapture() { hostlog::setSink(nullptr, nullptr); }
	int count(const std::string &text) const
	{
		return int(std::count_if(lines.begin(), lines.end(), [&](const std::string &l) { return l.find(text) != std::string::npos; }));
	}
	std::vector<std::string> lines;

private:
	static void sink(const char *line, void *user) { static_cast<LogCapture *>(user)->lines.push_back(line); }
};

const char *const skinText = R"(<?xml version="1.0" encoding="UTF-8"?>
<skin>
	<value name="fontsize" value="24"/>
	<value name="volume.grafik.pos.x" value="-40"/>
	<value name="broken" value="12px"/>
	<color name="volume_left" value="#00c000"/>
	<color name="shade" value="#80102030"/>
	<color name="bad" value="green"/>
	<font name="eListBox.EntryText.normal" family="DejaVu Sans Mono" size="18"/>
	<font name="sizeless" family="DejaVu Serif"/>
	<image name="volume_grafik" file="pictures/volume.png"/>
	<image name="gone" file="pictures/missing.png"/>
	<value value="3"/>
	<gadget name="x"/>
	<layout name="ezap_main" position="10,376" size="700,200" backgroundColor="shade">
		<element name="e_now_title" position="80, 40" size="400,30" font="eListBox.EntryText.normal" foregroundColor="volume_left"/>
		<element name="fileInfoBar" position="0,0" size="720,40">
			<element name="fileinfos" position="10,5" size="700,30" text="from the skin"/>
		</element>
		<element name="snr_num" position="600,10" size="60,20"/>
	</layout>
	<layout name="crooked" position="1;2"/>
</skin>
)";

class SkinTest : public ::testing::Test
{
protected:
	void SetUp() override { eSkin::setActive(nullptr); }
	void TearDown() override { eSkin::setActive(nullptr); }

	TempDir dir;
	std::string skinFile = dir.path() + "/skins/test.xml";
};

TEST_F(SkinTest, QueriesAnswerFromTheSkinOrWithTheirDefaults)
{
	writeFile(skinFile, skinText);
	LogCapture log;
	eSkin skin;
	ASSERT_EQ(skin.load(skinFile.c_str()), 0);

	EXPECT_EQ(skin.queryValue("fontsize", 20), 24);
	EXPECT_EQ(skin.queryValue("volume.grafik.pos.x", 0), -40);
	EXPECT_EQ(skin.queryValue("volume.grafik.pos.y", 7), 7);
	EXPECT_EQ(skin.queryValue("broken", 5), 5);

	EXPECT_EQ(skin.queryColor("volume_left"), gColor(0x00, 0xc0, 0x00, 0xff));
	EXPECT_EQ(skin.queryColor("shade"), gColor(0x10, 0x20, 0x30, 0x80));
	EXPECT_EQ(skin.queryColor("volume_right"), eSkin::defaultColor);
	EXPECT_EQ(skin.queryColor("bad"), eSkin::defaultColor);
	EXPECT_EQ(eSkin::defaultColor, gColor(255, 255, 255, 255));

	EXPECT_EQ(skin.queryFont("eListBox.EntryText.normal"), gFont("DejaVu Sans Mono", 18));
	EXPECT_EQ(skin.queryFont("sizeless"), gFont());
	EXPECT_EQ(skin.queryFont("absent"), gFont("DejaVu Sans", 20));

	// Each malformed entry is named once; the good ones around it still count.
	for (const char *what : {"\"broken\"", "\"bad\"", "\"sizeless\"", "<value> without a name", "<gadget", "crooked"})
		EXPECT_EQ(log.count(what), 1) << what;
	EXPECT_EQ(eSkin::getActive(), &skin) << "the first skin that loads becomes the active one";
}

TEST_F(SkinTest, ImagesLoadOnceAndBelongToTheSkin)
{
	writeFile(skinFile, skinText);
	writeFile(dir.path() + "/skins/pictures/volume.png", tinyPng);
	LogCapture log;
	eSkin skin;
	ASSERT_EQ(skin.load(skinFile.c_str()), 0);

	gPixmap *picture = skin.queryImage("volume_grafik");
	ASSERT_NE(picture, nullptr) << "a relative file is found beside the skin file";
	EXPECT_EQ(picture->size(), eSize(2, 1));
	EXPECT_EQ(picture->at(1, 0), 0x80445566u);
	EXPECT_EQ(skin.queryImage("volume_grafik"), picture);

	EXPECT_EQ(skin.queryImage("gone"), nullptr);
	EXPECT_EQ(skin.queryImage("gone"), nullptr);
	EXPECT_EQ(log.count("missing.png"), 1) << "an unloadable picture is tried once";
	EXPECT_EQ(skin.queryImage("g_volume_progress"), nullptr);

	// A second file that redefines the image: the old picture stays valid for the
	// widgets that show it, the query gives the new one.
	writeFile(dir.path() + "/skins/more.xml", R"(<skin><image name="volume_grafik" file="pictures/other.png"/><value name="fontsize" value="30"/></skin>)");
	writeFile(dir.path() + "/skins/pictures/other.png", tinyPng);
	ASSERT_EQ(skin.load((dir.path() + "/skins/more.xml").c_str()), 0);
	EXPECT_EQ(picture->at(0, 0), 0xFF112233u);
	gPixmap *other = skin.queryImage("volume_grafik");
	ASSERT_NE(other, nullptr);
	EXPECT_NE(other, picture);
	EXPECT_EQ(other->source, dir.path() + "/skins/pictures/other.png");
	EXPECT_EQ(skin.queryValue("fontsize", 0), 30);
	EXPECT_EQ(skin.queryColor("volume_left"), gColor(0x00, 0xc0, 0x00)) << "entries of the first file remain";
}

TEST_F(SkinTest, ReceiverPathsAreLookedUpUnderTheBoxRoot)
{
	writeFile(dir.path() + "/share/tuxbox/enigma/skins/default.xml",
		R"(<skin><image name="logo" file="/var/tuxbox/config/enigma/pictures/logo.png"/><value name="v" value="1"/></skin>)");
	writeFile(dir.path() + "/var/tuxbox/config/enigma/pictures/logo.png", tinyPng);
	hostpaths::setRoot(dir.path());
	eSkin skin;
	int result = skin.load("/share/tuxbox/enigma/skins/default.xml");
	gPixmap *logo = skin.queryImage("logo");
	hostpaths::setRoot("/");
	ASSERT_EQ(result, 0);
	EXPECT_EQ(skin.queryValue("v", 0), 1);
	ASSERT_NE(logo, nullptr);
	EXPECT_EQ(logo->source, "/var/tuxbox/config/enigma/pictures/logo.png");
}

TEST_F(SkinTest, BuildPlacesTheWidgetAndItsNamedChildren)
{
	writeFile(skinFile, skinText);
	eSkin skin;
	ASSERT_EQ(skin.load(skinFile.c_str()), 0);

	eWidget window;
	eWidget *title = new eWidget(&window);
	title->setName("e_now_title");
	eWidget *bar = new eWidget(&window);
	bar->setName("fileInfoBar");
	eWidget *infos = new eWidget(bar);
	infos->setName("fileinfos");
	eWidget *unnamed = new eWidget(&window);

	LogCapture log;
	ASSERT_EQ(skin.build(&window, "ezap_main"), 0);

	EXPECT_EQ(window.getPosition(), ePoint(10, 376));
	EXPECT_EQ(window.getSize(), eSize(700, 200));
	EXPECT_EQ(window.getBackgroundColor(), gColor(0x10, 0x20, 0x30, 0x80)) << "a colour property may name a skin colour";
	EXPECT_EQ(title->getPosition(), ePoint(80, 40));
	EXPECT_EQ(title->getSize(), eSize(400, 30));
	EXPECT_EQ(title->getFont(), gFont("DejaVu Sans Mono", 18));
	EXPECT_EQ(title->getForegroundColor(), gColor(0x00, 0xc0, 0x00));
	EXPECT_EQ(bar->getSize(), eSize(720, 40));
	EXPECT_EQ(infos->getPosition(), ePoint(10, 5));
	EXPECT_EQ(infos->getText(), "from the skin");
	EXPECT_EQ(unnamed->getSize(), eSize(0, 0));

	// The skin's element the widget lacks is skipped with a warning naming it.
	EXPECT_EQ(log.count("snr_num"), 1);
	EXPECT_EQ(log.lines.size(), 1u);
}

TEST_F(SkinTest, BuildOfAnUnknownLayoutFails)
{
	writeFile(skinFile, skinText);
	eSkin skin;
	ASSERT_EQ(skin.load(skinFile.c_str()), 0);
	eWidget window;
	window.move(ePoint(3, 4));
	EXPECT_NE(skin.build(&window, "ezap_dvr"), 0);
	EXPECT_NE(skin.build(&window, "crooked"), 0) << "a layout that did not parse does not exist";
	EXPECT_NE(skin.build(nullptr, "ezap_main"), 0);
	EXPECT_EQ(window.getPosition(), ePoint(3, 4));
}

TEST_F(SkinTest, FilesThatAreNoSkinAreRefused)
{
	writeFile(skinFile, R"(<skin><value name="fontsize" value="22"/></skin>)");
	eSkin skin;
	ASSERT_EQ(skin.load(skinFile.c_str()), 0);

	struct Case
	{
		const char *what;
		std::string content;
		int result;
	};
	const std::vector<Case> cases = {
		{"text", "fontsize = 40\n", -2},
		{"binary", std::string("\x89PNG\r\n\x1a\n\0\0\xff", 11), -2},
		{"empty", "", -2},
		{"truncated", "<skin>\n<value name=\"fontsize\" value=\"40\"/>\n<lay", -2},
		{"other root", "<vlc><value name=\"fontsize\" value=\"40\"/></vlc>", -3},
	};
	for (const Case &c : cases)
	{
		std::string file = dir.path() + "/bad.xml";
		writeFile(file, c.content);
		LogCapture log;
		EXPECT_EQ(skin.load(file.c_str()), c.result) << c.what;
		EXPECT_EQ(log.count(file), 1) << c.what;
	}
	LogCapture log;
	EXPECT_EQ(skin.load((dir.path() + "/none.xml").c_str()), -1);
	EXPECT_EQ(log.count("none.xml"), 1);
	EXPECT_EQ(skin.load(nullptr), -1);
	EXPECT_EQ(skin.queryValue("fontsize", 0), 22) << "a refused file changes nothing";
}

TEST_F(SkinTest, TheActiveSkinIsChosenAndForgotten)
{
	writeFile(skinFile, R"(<skin/>)");
	eSkin first;
	ASSERT_EQ(first.load(skinFile.c_str()), 0);
	EXPECT_EQ(eSkin::getActive(), &first);
	{
		eSkin second;
		ASSERT_EQ(second.load(skinFile.c_str()), 0);
		EXPECT_EQ(eSkin::getActive(), &first) << "loading does not take over an active skin";
		second.makeActive();
		EXPECT_EQ(eSkin::getActive(), &second);
	}
	EXPECT_EQ(eSkin::getActive(), nullptr) << "a destroyed skin is no longer active";
}
} // namespace
