// The engine's own requests to a VLC 3: its password in every one, its HTTP/1.1
// answers taken as success, and the output chain in an option of its own.

#include <gtest/gtest.h>


#include "engine/engine.h"
#include "support/testfiles.h"
#include "support/hostfixture.h"
#include "support/vlcdouble.h"
#include "vlc/vlcdialect.h"

namespace
{
eString vlc3Answer(const char *name)
{
	eString text = readSourceFile(eString("tests/fixtures/vlc3/") + name);
	EXPECT_FALSE(text.empty()) << name << " not found; run through ctest";
	return text;
}

class LuaRequestsTest : public ::testing::Test
{
protected:
	void TearDown() override { setActiveVlcDialect(classicDialect()); }

	// Loads settings naming the dialect, as a start of playback does.
	void load(const char *api)
	{
		host.writeFile("/var/tuxbox/config/quelt.xml",
			eString::format("<vlc><server name=\"set1\" ip=\"127.0.0.1\" webif-port=\"%d\" stream-port=\"%d\" "
							"user=\"\" pass=\"secret\" api=\"%s\"/>"
							"<config name=\"set1\" startdir=\"/films\" cddrive=\"D:\"/></vlc>",
				vlc.webPort(), vlc.streamPort(), api));
		engine->control("start", "nofile", 1);
		ASSERT_STREQ(api, activeVlcDialect().name());
		vlc.clearRequests();
	}

	HostFixture host;
	VlcDouble vlc;
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	Watchdog watchdog{60, "lua requests test"};
};

TEST_F(LuaRequestsTest, CommandsCarryThePasswordAndAcceptVlc3sAnswer)
{
	vlc.setRawAnswer(vlc3Answer("raw-command-answer.txt"));
	load("lua");
	EXPECT_EQ(0, engine->sendRequest2VLC_stream("requests/status.xml?command=pl_pause"));
	ASSERT_EQ(1u, vlc.requests().size());
	EXPECT_EQ("GET /requests/status.xml?command=pl_pause HTTP/1.0", vlc.requests()[0].line);
	EXPECT_EQ("Basic OnNlY3JldA==", vlc.requests()[0].header("Authorization"));

	// VLC 3's refusal is no success.
	vlc.setRawAnswer(vlc3Answer("raw-command-no-auth.txt"));
	EXPECT_EQ(-1, engine->sendRequest2VLC_stream("requests/status.xml?command=pl_pause"));
}

TEST_F(LuaRequestsTest, TheClassicDialectSendsItsCommandsBare)
{
	vlc.setRawAnswer(vlc3Answer("raw-command-answer.txt"));
	load("classic");
	EXPECT_EQ(-1, engine->sendRequest2VLC_stream("requests/status.xml?command=pl_pause"));
	ASSERT_EQ(1u, vlc.requests().size());
	EXPECT_EQ("", vlc.requests()[0].header("Authorization"));
}

TEST_F(LuaRequestsTest, ThePlayRequestPutsTheOutputChainInAnOption)
{
	load("lua");
	eString path = engine->sout_stream("%2ffilms%2fa%2empg");
	EXPECT_EQ(eString::format("requests/status.xml?command=in_play&input=%%2ffilms%%2fa%%2empg&option=:sout%%3D%%23"
							  "std{access%%3Dhttp,mux%%3Dts,dst%%3D:%d/dboxstream}",
				  vlc.streamPort()),
		path);
}
} // namespace
