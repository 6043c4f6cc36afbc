// The two GET clients against VLC's double: the URL frame, the credentials, how
// each treats an HTTP error status, and a VLC that is absent, stalls or answers
// at length. Both clients really wait for their timeouts here; nothing is timed.

#include <curl/curl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "plugin/mainwindowfixture.h"
#include "vlc/etcp.h"
#include "vlc/httpget.h"

namespace
{
using namespace mainwindowtest;

// A port on loopback where nothing listens.
int closedPort()
{
	int s = socket(AF_INET, SOCK_STREAM, 0);
	sockaddr_in address{};
	address.sin_family = AF_INET;
	address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address);
	socklen_t length = sizeof address;
	getsockname(s, reinterpret_cast<sockaddr *>(&address), &length);
	close(s);
	return ntohs(address.sin_port);
}

class StatusClientTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		resetPluginGlobals();
		send_parms[0] = "127.0.0.1";
		send_parms[1] = eString::format("%d", vlc.webPort());
		vlc.setStatusXml("<root><time>12</time></root>");
	}
	void TearDown() override { resetPluginGlobals(); }

	VlcDouble vlc;
	Watchdog watchdog{60, "status client test"};
};

TEST_F(StatusClientTest, TheUrlIsHostColonPortAndThePathAsGiven)
{
	eString answer = "old";
	EXPECT_EQ(0, eTCP::getInstance()->sendGetRequest("/requests/status.xml", answer));
	EXPECT_EQ("<root><time>12</time></root>", answer);
	ASSERT_EQ(1u, vlc.requests().size());
	VlcRequest request = vlc.requests()[0];
	EXPECT_EQ("GET", request.method);
	EXPECT_EQ("/requests/status.xml", request.target);
	EXPECT_EQ(eString::format("127.0.0.1:%d", vlc.webPort()), request.header("Host"));
	EXPECT_EQ("", request.header("Authorization"));

	// Nothing is put between the port and the path: without its slash the path
	// runs into the port, and no request is made.
	answer = "old";
	EXPECT_NE(0, eTCP::getInstance()->sendGetRequest("requests/status.xml", answer));
	EXPECT_EQ("", answer);
	EXPECT_EQ(1u, vlc.requests().size());
}

TEST_F(StatusClientTest, CredentialsGoWithEveryRequestWhenSet)
{
	send_parms[3] = "alice:secret";
	eString answer;
	EXPECT_EQ(0, eTCP::getInstance()->sendGetRequest("/requests/status.xml", answer));
	EXPECT_EQ(0, vlcGetRequest("/requests/browse.xml?dir=x", answer, HttpErrorStatus::failTransfer, 5));
	ASSERT_EQ(2u, vlc.requests().size());
	for (const VlcRequest &request : vlc.requests())
		EXPECT_EQ("Basic YWxpY2U6c2VjcmV0", request.header("Authorization")) << request.target;
}

TEST_F(StatusClientTest, AnErrorStatusStillDeliversItsPage)
{
	vlc.setStatusCode(401);
	eString answer;
	EXPECT_EQ(0, eTCP::getInstance()->sendGetRequest("/requests/status.xml", answer));
	EXPECT_NE(eString::npos, answer.find("<title>Error 401</title>"));
}

TEST_F(StatusClientTest, AbsentVlcLeavesTheAnswerEmpty)
{
	send_parms[1] = eString::format("%d", closedPort());
	eString answer = "old";
	EXPECT_EQ(CURLE_COULDNT_CONNECT, eTCP::getInstance()->sendGetRequest("/requests/status.xml", answer));
	EXPECT_EQ("", answer);
}

TEST_F(StatusClientTest, GarbageInsteadOfHttpIsAFailure)
{
	vlc.setFailure(VlcDouble::Failure::garbage);
	eString answer;
	EXPECT_NE(0, eTCP::getInstance()->sendGetRequest("/requests/status.xml", answer));
}

TEST_F(StatusClientTest, AStalledVlcEndsAtTheTimeout)
{
	vlc.setFailure(VlcDouble::Failure::stall);
	eString answer = "old";
	EXPECT_EQ(CURLE_OPERATION_TIMEDOUT, eTCP::getInstance()->sendGetRequest("/requests/status.xml", answer));
	EXPECT_EQ("", answer);
}

// Many pieces, but few enough that even a slow machine takes them well within the
// status client's two seconds; the listing tests send ten megabytes.
TEST_F(StatusClientTest, ALongAnswerArrivesWholeAndInOrder)
{
	eString body;
	for (int i = 0; body.size() < 1024 * 1024; ++i)
		body += eString::format("%08d\n", i);
	vlc.setRawAnswer("HTTP/1.0 200 OK\r\nContent-type: text/xml\r\n\r\n" + body);
	eString answer;
	EXPECT_EQ(0, eTCP::getInstance()->sendGetRequest("/requests/status.xml", answer));
	EXPECT_TRUE(answer == body) << "got " << answer.size() << " of " << body.size() << " bytes";
}

TEST(CurlDummyWrite, AppendsEveryByteItIsGiven)
{
	eString answer = "ab";
	const char data[] = {'c', '\0', 'd', 'e'};
	EXPECT_EQ(4u, CurlDummyWrite(const_cast<char *>(data), 2, 2, &answer));
	EXPECT_EQ(eString("abc\0de", 6), answer);
	EXPECT_EQ(0u, CurlDummyWrite(const_cast<char *>(data), 1, 0, &answer));
	EXPECT_EQ(6u, answer.size());
}

// The listing client belongs to the main window.
using ListingClientTest = MainWindowTest;

TEST_F(ListingClientTest, AnErrorStatusFailsTheTransferAndLeavesNoAnswer)
{
	auto window = openWindow();
	vlc.setStatusCode(401);
	eString answer = "old";
	EXPECT_EQ(CURLE_HTTP_RETURNED_ERROR, window->sendGetRequest("/requests/browse.xml?dir=x", answer));
	EXPECT_EQ("", answer);
}

TEST_F(ListingClientTest, AStalledVlcEndsAtTheTimeout)
{
	auto window = openWindow();
	vlc.setFailure(VlcDouble::Failure::stall);
	eString answer = "old";
	EXPECT_EQ(CURLE_OPERATION_TIMEDOUT, window->sendGetRequest("/requests/browse.xml?dir=x", answer));
	EXPECT_EQ("", answer);
	// The window's close-down talks to VLC too.
	vlc.setFailure(VlcDouble::Failure::none);
}

struct CredentialsCase
{
	const char *name;
	const char *user;
	const char *pass;
	const char *authorization; // "" when none is sent
};

class CredentialsTest : public MainWindowTest, public ::testing::WithParamInterface<CredentialsCase>
{
};

// The first listing at start-up already carries them.
TEST_P(CredentialsTest, AreSentWheneverThereIsAPassword)
{
	const CredentialsCase &c = GetParam();
	writeSettings(c.user, c.pass);
	auto window = openWindow();
	ASSERT_FALSE(vlc.requests().empty());
	for (const VlcRequest &request : vlc.requests())
		EXPECT_EQ(c.authorization, request.header("Authorization")) << request.target;
}

INSTANTIATE_TEST_SUITE_P(Sets, CredentialsTest,
	::testing::Values(CredentialsCase{"both", "alice", "secret", "Basic YWxpY2U6c2VjcmV0"},
		CredentialsCase{"userOnly", "alice", "", ""}, CredentialsCase{"passwordOnly", "", "secret", "Basic OnNlY3JldA=="},
		CredentialsCase{"neither", "", "", ""}),
	[](const ::testing::TestParamInfo<CredentialsCase> &info) { return eString(info.param.name); });
} // namespace
