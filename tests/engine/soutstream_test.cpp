#include <gtest/gtest.h>

#include <algorithm>

#include "engine/enginefixture.h"

namespace
{
const char *const setups =
	"<setup name=\"File\" ext=\"AVI\" Videorate=\"1024\" Videotranscode=\"1\" Videocodec=\"mpeg2\" "
	"Videosize=\"704x576\" Audiorate=\"192\" Audiotranscode=\"1\" fps=\"25\"/>"
	"<setup name=\"File\" ext=\"MKV\" Videorate=\"2000\" Videotranscode=\"1\" Videocodec=\"mp2v\" "
	"Videosize=\"480x272\" Audiorate=\"128\" Audiotranscode=\"0\" fps=\"30\" soutadd=\"deinterlace\"/>"
	"<setup name=\"File\" ext=\"MPG\" Videorate=\"800\" Videotranscode=\"1\" Videocodec=\"mpeg1\" "
	"Videosize=\"352x288\" Audiorate=\"128\" Audiotranscode=\"1\" fps=\"25\" soutadd=\"x\"/>"
	"<setup name=\"File\" ext=\"TS\" Videorate=\"1\" Videotranscode=\"0\" Videocodec=\"x\" "
	"Videosize=\"1x1\" Audiorate=\"1\" Audiotranscode=\"0\" fps=\"1\"/>"
	"<setup name=\"File\" ext=\"OGG\" Videorate=\"1\" Videotranscode=\"0\" Videocodec=\"x\" "
	"Videosize=\"1x1\" Audiorate=\"96\" Audiotranscode=\"0\" fps=\"1\"/>"
	"<setup name=\"File\" ext=\"MP3\" Videorate=\"1024\" Videotranscode=\"1\" Videocodec=\"mpeg2\" "
	"Videosize=\"704x576\" Audiorate=\"128\" Audiotranscode=\"1\" fps=\"25\"/>"
	"<setup name=\"DVD\" ext=\"NONE\" Videorate=\"3000\" Videotranscode=\"1\" Videocodec=\"mpeg2\" "
	"Videosize=\"720\" Audiorate=\"224\" Audiotranscode=\"1\" fps=\"25\"/>"
	"<setup name=\"VCD\" ext=\"NONE\" Videorate=\"1150\" Videotranscode=\"0\" Videocodec=\"mpeg1\" "
	"Videosize=\"352x288\" Audiorate=\"224\" Audiotranscode=\"1\" fps=\"25\"/>";

struct SoutCase
{
	const char *mrl;
	const char *extension; // as logged
	const char *chain;     // before "std{...}"
	bool isStream;
};

class SoutStreamTest : public EngineFixture
{
protected:
	void SetUp() override
	{
		EngineFixture::SetUp();
		writeSettings(setups);
		engine->control("start", "nofile", 1);
	}
};

TEST_F(SoutStreamTest, BuildsTheTranscodingRequest)
{
	const char *const vcd = "#transcode{acodec=mpga,ab=224,channels=2,audio-sync}:";
	const char *const dvd = "#transcode{vcodec=mpeg2,vb=3000,width=720,height=720,fps=25,acodec=mpga,ab=224,"
							"channels=2,audio-sync}:";
	const SoutCase cases[] = {
		{"film%2eavi", "avi",
			"#transcode{vcodec=mpeg2,vb=1024,width=704,height=576,fps=25,acodec=mpga,ab=192,channels=2,audio-sync}:",
			true},
		{"%2fhome%2ffilm%2eAvI", "AvI",
			"#transcode{vcodec=mpeg2,vb=1024,width=704,height=576,fps=25,acodec=mpga,ab=192,channels=2,audio-sync}:",
			true},
		// Video only, with the extra options after the codec name.
		{"clip%2emkv", "mkv", "#transcode{vcodec=mp2v,deinterlace,vb=2000,width=480,height=272,fps=30,audio-sync}:",
			true},
		// Extra options of one character are left out.
		{"clip%2empg", "mpg",
			"#transcode{vcodec=mpeg1,vb=800,width=352,height=288,fps=25,acodec=mpga,ab=128,channels=2,audio-sync}:",
			true},
		{"clip%2ets", "ts", "#", true},
		// Pure audio is transcoded to MPEG audio whatever the setup's flags say.
		{"song%2emp3", "mp3", "#transcode{acodec=mpga,ab=128,channels=2}:", false},
		{"song%2eogg", "ogg", "#transcode{acodec=mpga,ab=96,channels=2}:", false},
		{"song%2ewav", "wav", "#transcode{acodec=mpga,ab=192,channels=2}:", false},
		// Discs and disc images use their category's setup.
		{"dvdsimple:D:%40%2fVIDEO_TS%2fx%2eavi", "avi", dvd, true},
		{"dvdsimple:D:%401:3", "01:3", dvd, true},
		{"vcd:D:%401:2", "vcd:D:%401:2", vcd, true},
		{"image%2eiso", "iso", vcd, true},
		{"IMAGE%2eBIN", "BIN", vcd, true},
		{"disc%2eimg", "img", vcd, true},
		// No setup: the defaults transcode nothing.
		{"notes%2exyz", "xyz", "#", true},
		// The extension rule ends at the last 2 as well: clip%2em2v has none.
		{"clip%2em2v", "", "#", true},
		// A name without "%" or "2" loses its first character.
		{"movie", "ovie", "#", true},
		{"", "", "#", true},
	};
	for (const SoutCase &c : cases)
	{
		SCOPED_TRACE(c.mrl);
		host.clearLog();
		isStream = !c.isStream;
		eString path = engine->sout_stream(c.mrl);
		eString expected = eString("requests/status.xml?command=in_play&input=") + c.mrl + "%20%3Asout%3D" + c.chain +
						   eString::format("std{access=http,mux=ts,dst=:%d/dboxstream}", vlc.streamPort());
		EXPECT_EQ(path, expected);
		EXPECT_EQ(isStream.load(), c.isStream);
		std::vector<eString> lines = host.logLines();
		EXPECT_NE(std::find(lines.begin(), lines.end(), eString("[quelt]: extension of mrl: ") + c.extension),
			lines.end());
		EXPECT_EQ(host.logCount("[quelt]: sout: " + expected), 1u);
	}
}

TEST_F(SoutStreamTest, TheAviExampleByteForByte)
{
	EXPECT_EQ(engine->sout_stream("film%2eavi"),
		eString::format("requests/status.xml?command=in_play&input=film%%2eavi%%20%%3Asout%%3D#transcode{vcodec=mpeg2,"
						"vb=1024,width=704,height=576,fps=25,acodec=mpga,ab=192,channels=2,audio-sync}:std{access="
						"http,mux=ts,dst=:%d/dboxstream}",
			vlc.streamPort()));
}

TEST_F(SoutStreamTest, WithoutAnySetupTheStreamIsNotTranscoded)
{
	writeSettings();
	engine->control("start", "nofile", 1);
	EXPECT_EQ(engine->sout_stream("film%2eavi"),
		eString::format("requests/status.xml?command=in_play&input=film%%2eavi%%20%%3Asout%%3D#std{access=http,"
						"mux=ts,dst=:%d/dboxstream}",
			vlc.streamPort()));
}
} // namespace
