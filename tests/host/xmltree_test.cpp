#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "host/xmltree.h"

namespace
{
// The tree as one line of text: name, attributes, data, then the children.
std::string dump(const XMLTreeNode *node)
{
	std::string out = std::string("<") + node->GetName();
	for (const XMLAttribute &a : node->GetAttributes())
		out += " " + a.name + "=" + a.value;
	out += ">" + std::string(node->GetData());
	for (const XMLTreeNode *c = node->GetChild(); c; c = c->GetNext())
	{
		EXPECT_EQ(c->GetParent(), node);
		out += dump(c);
	}
	return out + "</>";
}

std::string parseInPieces(const std::string &doc, const char *encoding, size_t piece)
{
	XMLTreeParser parser(encoding);
	size_t pos = 0;
	do
	{
		size_t n = std::min(piece, doc.size() - pos);
		bool last = pos + n >= doc.size();
		if (!parser.Parse(doc.data() + pos, int(n), last))
			return std::string("error: ") + parser.ErrorString();
		pos += n;
	} while (pos < doc.size());
	return parser.RootNode() ? dump(parser.RootNode()) : "no root";
}

TEST(XmlTreeTest, BuildsTheTreeOfAVlcAnswer)
{
	const std::string doc =
		"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
		"<root>\n"
		"  <element type=\"directory\" name=\"..\" path=\"/home\" size=\"4096\"/>\n"
		"  <element type='file' name=\"a &amp; b.avi\" path=\"/home/a &amp; b.avi\"/>\n"
		"  <time>12<!-- comment -->3</time><empty/>\n"
		"</root>\n";
	XMLTreeParser parser;
	ASSERT_NE(parser.Parse(doc.data(), int(doc.size()), 1), 0);
	XMLTreeNode *root = parser.RootNode();
	ASSERT_NE(root, nullptr);
	EXPECT_STREQ(root->GetType(), "root");
	EXPECT_EQ(root->GetParent(), nullptr);

	XMLTreeNode *dirEntry = root->GetChild();
	ASSERT_NE(dirEntry, nullptr);
	EXPECT_STREQ(dirEntry->GetName(), "element");
	EXPECT_STREQ(dirEntry->GetAttributeValue("type"), "directory");
	EXPECT_STREQ(dirEntry->GetAttributeValue("size"), "4096");
	EXPECT_EQ(dirEntry->GetAttributeValue("uri"), nullptr);
	EXPECT_EQ(dirEntry->GetAttributeValue(nullptr), nullptr);

	XMLTreeNode *file = dirEntry->GetNext();
	ASSERT_NE(file, nullptr);
	EXPECT_STREQ(file->GetAttributeValue("name"), "a & b.avi");

	XMLTreeNode *time = file->GetNext();
	ASSERT_NE(time, nullptr);
	EXPECT_STREQ(time->GetData(), "123") << "text around a comment is one text";
	XMLTreeNode *empty = time->GetNext();
	ASSERT_NE(empty, nullptr);
	EXPECT_STREQ(empty->GetData(), "");
	EXPECT_EQ(empty->GetChild(), nullptr);
	EXPECT_EQ(empty->GetNext(), nullptr);
}

struct SyntaxErrorCase
{
	const char *what;
	const char *doc;
	int line;
};

void PrintTo(const SyntaxErrorCase &c, std::ostream *os)
{
	*os << c.what;
}

class XmlSyntaxErrorTest : public ::testing::TestWithParam<SyntaxErrorCase>
{
};

TEST_P(XmlSyntaxErrorTest, ReportsTheLineOfTheError)
{
	const SyntaxErrorCase &c = GetParam();
	XMLTreeParser parser("ISO-8859-1");
	EXPECT_EQ(parser.Parse(c.doc, int(std::string(c.doc).size()), 1), 0);
	EXPECT_EQ(parser.GetCurrentLineNumber(), c.line);
	EXPECT_NE(parser.GetErrorCode(), 0);
	EXPECT_GT(std::string(parser.ErrorString()).size(), 0u);
	EXPECT_STREQ(parser.ErrorString(), XMLTreeParser::ErrorString(parser.GetErrorCode()));
	// A parser that failed stays failed.
	EXPECT_EQ(parser.Parse("<a/>", 4, 1), 0);
}

INSTANTIATE_TEST_SUITE_P(Documents, XmlSyntaxErrorTest,
	::testing::Values(
		SyntaxErrorCase{"mismatched tag", "<vlc>\n<server name=\"set1\">\n</vlc>\n", 3},
		SyntaxErrorCase{"duplicate attribute", "<a x='1' x='2'/>", 1},
		SyntaxErrorCase{"undefined entity", "<a>\n\n&bogus;</a>", 3},
		SyntaxErrorCase{"empty", "", 1},
		SyntaxErrorCase{"an error page", "HTTP/1.0 404 Not Found\r\n\r\nError 404", 1},
		SyntaxErrorCase{"truncated", "<a>\n<b>\n", 3},
		SyntaxErrorCase{"two roots", "<a/>\n<b/>", 2}));

TEST(XmlTreeTest, Latin1BytesComeBackAsSingleBytes)
{
	const std::string doc = "<vlc n='M\xE4rz'>\xC4\xD6\xDC \xE4\xF6\xFC\xDF &#228;&#x20AC;<setup ext='\xFF'/>\xE9</vlc>";
	XMLTreeParser parser("ISO-8859-1");
	ASSERT_NE(parser.Parse(doc.data(), int(doc.size()), 1), 0);
	XMLTreeNode *root = parser.RootNode();
	ASSERT_NE(root, nullptr);
	EXPECT_EQ(std::string(root->GetAttributeValue("n")), "M\xE4rz");
	// A character Latin-1 cannot hold comes back as a question mark.
	EXPECT_EQ(std::string(root->GetData()), "\xC4\xD6\xDC \xE4\xF6\xFC\xDF \xE4?\xE9");
	ASSERT_NE(root->GetChild(), nullptr);
	EXPECT_EQ(std::string(root->GetChild()->GetAttributeValue("ext")), "\xFF");
}

TEST(XmlTreeTest, WithoutAnEncodingTextsStayUtf8)
{
	const std::string doc = "<info name=\"Aufl\xC3\xB6sung\">720x576 &#x20AC;</info>";
	XMLTreeParser parser;
	ASSERT_NE(parser.Parse(doc.data(), int(doc.size()), 1), 0);
	EXPECT_EQ(std::string(parser.RootNode()->GetAttributeValue("name")), "Aufl\xC3\xB6sung");
	EXPECT_EQ(std::string(parser.RootNode()->GetData()), "720x576 \xE2\x82\xAC");
}

struct PiecesCase
{
	const char *encoding;
	std::string doc;
};

void PrintTo(const PiecesCase &c, std::ostream *os)
{
	*os << (c.encoding ? c.encoding : "no encoding");
}

class XmlPiecesTest : public ::testing::TestWithParam<PiecesCase>
{
};

TEST_P(XmlPiecesTest, SmallPiecesGiveTheSameTree)
{
	const PiecesCase &c = GetParam();
	const std::string whole = parseInPieces(c.doc, c.encoding, c.doc.size());
	ASSERT_EQ(whole.find("error"), std::string::npos) << whole;
	for (size_t piece = 1; piece <= 7; ++piece)
		EXPECT_EQ(parseInPieces(c.doc, c.encoding, piece), whole) << "pieces of " << piece;
}

INSTANTIATE_TEST_SUITE_P(Documents, XmlPiecesTest,
	::testing::Values(
		PiecesCase{"ISO-8859-1",
			"<?xml version=\"1.0\"?>\n<vlc>\n <server name=\"set1\" ip=\"192.168.0.2\" webif-port=\"8080\"/>\n"
			" <setup name=\"File\" ext=\"AVI\" Videosize=\"704x576\">Gr\xFC\xDF\x65 &amp; <![CDATA[<raw>]]></setup>\n"
			" <pskins><skin name=\"default\" posx=\"400\" posy=\"60\"/></pskins>\n</vlc>\n"},
		PiecesCase{nullptr,
			"<root><information><category name=\"Stream 0\"><info name=\"Aufl\xC3\xB6sung\">720x576</info>"
			"<info name=\"Codec\">MPEG-4 Video (mp4v) \xE2\x82\xAC\xF0\x9F\x8E\xAC</info></category></information></root>"}));

TEST(XmlTreeTest, TenMegabytesInLoadSizedPieces)
{
	std::string doc = "<root>";
	const std::string entry = "<element type=\"file\" name=\"movie.avi\" path=\"/home/v/movie.avi\" size=\"1234567\"/>\n";
	int entries = 0;
	while (doc.size() < 5 * 1024 * 1024)
	{
		doc += entry;
		++entries;
	}
	doc += "<big>";
	doc += std::string(5 * 1024 * 1024, 'x');
	doc += "</big></root>";

	XMLTreeParser parser("ISO-8859-1");
	for (size_t pos = 0; pos < doc.size(); pos += 2048)
	{
		size_t n = std::min<size_t>(2048, doc.size() - pos);
		ASSERT_NE(parser.Parse(doc.data() + pos, int(n), pos + n == doc.size()), 0);
	}
	int count = 0;
	const XMLTreeNode *last = nullptr;
	for (const XMLTreeNode *c = parser.RootNode()->GetChild(); c; c = c->GetNext())
	{
		++count;
		last = c;
	}
	EXPECT_EQ(count, entries + 1);
	ASSERT_NE(last, nullptr);
	EXPECT_EQ(last->data().size(), 5u * 1024 * 1024);
}

TEST(XmlTreeTest, DeepNestingIsParsedAndFreed)
{
	const int depth = 100000;
	std::string doc;
	for (int i = 0; i < depth; ++i)
		doc += "<a>";
	doc += "deep";
	for (int i = 0; i < depth; ++i)
		doc += "</a>";
	auto parser = std::make_unique<XMLTreeParser>();
	ASSERT_NE(parser->Parse(doc.data(), int(doc.size()), 1), 0);
	int levels = 0;
	const XMLTreeNode *n = parser->RootNode();
	for (; n->GetChild(); n = n->GetChild())
		++levels;
	EXPECT_EQ(levels, depth - 1);
	EXPECT_STREQ(n->GetData(), "deep");
	parser.reset();
}
} // namespace
