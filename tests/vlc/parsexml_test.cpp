// parseXml: a tree for a well-formed answer, and its two messages otherwise.

#include <gtest/gtest.h>

#include <memory>

#include "host/xmltree.h"
#include "vlc/parsexml.h"

namespace
{
struct ParseCase
{
	const char *name;
	const char *text;
	const char *root;    // the root element's name, or null when there is no tree
	const char *printed; // what goes to standard output
};

class ParseXmlTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseXmlTest, GivesTheTreeOrSaysWhy)
{
	const ParseCase &c = GetParam();
	::testing::internal::CaptureStdout();
	std::unique_ptr<XMLTreeParser> tree(parseXml(c.text));
	eString printed = ::testing::internal::GetCapturedStdout();

	if (c.root)
	{
		ASSERT_NE(nullptr, tree);
		EXPECT_STREQ(c.root, tree->RootNode()->GetName());
	}
	else
		EXPECT_EQ(nullptr, tree);
	EXPECT_EQ(eString(c.printed), printed);
}

INSTANTIATE_TEST_SUITE_P(Answers, ParseXmlTest,
	::testing::Values(ParseCase{"wellFormed", "<root>\n<element type=\"file\" name=\"a\"/>\n</root>\n", "root", ""},
		ParseCase{"empty", "", nullptr, "Error: No Root Node\n"},
		ParseCase{"declarationAndCommentOnly", "<?xml version=\"1.0\"?>\n<!-- <element type= -->\n", nullptr,
			"Error: No Root Node\n"},
		ParseCase{"truncated", "<root>\n<element type=\"file\"/>\n<element type=", nullptr,
			"Error parsing \"VLC Answer\": unclosed token at line 3\n"},
		ParseCase{"unclosedRoot", "<root>\n<element/>\n", nullptr,
			"Error parsing \"VLC Answer\": no element found at line 3\n"},
		ParseCase{"notXml", "HTTP/1.0 200 OK", nullptr, "Error parsing \"VLC Answer\": not well-formed (invalid token) at line 1\n"},
		ParseCase{"htmlErrorPage", "<html>\n<head>\n<title>Error 404</title>\n</head>\n<body>\n<hr>\n</body>\n</html>\n",
			nullptr, "Error parsing \"VLC Answer\": mismatched tag at line 7\n"}),
	[](const ::testing::TestParamInfo<ParseCase> &info) { return eString(info.param.name); });
} // namespace
