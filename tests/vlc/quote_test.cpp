// URL quoting of PC-side names: what quote escapes, what unquote decodes, and
// that the two undo each other for every byte.

#include <gtest/gtest.h>

#include <random>

#include "engine/engine.h"
#include "plugin/equelt.h"

namespace
{
struct QuoteCase
{
	eString text;
	eString quoted;
};

TEST(Quote, EscapesAllButLettersDigitsAndTheColon)
{
	const QuoteCase cases[] = {
		{"", ""},
		{"C:\\Movies\\A b.avi", "C:%5cMovies%5cA%20b%2eavi"},
		{"D:", "D:"},
		{"AZaz09", "AZaz09"},
		{"\ta", "%09a"},
		{"/home/x-y_z~.mpg", "%2fhome%2fx%2dy%5fz%7e%2empg"},
		{"100%+&=?#", "100%25%2b%26%3d%3f%23"},
		{eString("\xe4\xff\x80", 3), "%e4%ff%80"},
		{eString("a\0b", 3), "a%00b"},
	};
	for (const QuoteCase &c : cases)
		EXPECT_EQ(c.quoted, eQUELT::quote(c.text)) << "text: " << c.text;
}

TEST(Unquote, DecodesEscapesAndPlusSigns)
{
	const QuoteCase cases[] = {
		// {decoded, as sent}
		{"Abc", "%41%62c"},
		{"a b", "a+b"},
		{"100%", "100%25"},
		{"100%", "100%"},
		{eString("x\x04", 2), "x%4"},
		{"//", "%2F%2f"},
		{eString("\xe4", 1), "%E4"},
		{"", ""},
		{"plain/text.avi", "plain/text.avi"},
		// Malformed escapes still take the two bytes after the sign: a byte that is
		// no hex digit counts 0.
		{eString("\x00", 1), "%zz"},
		{"\nb", "%zab"},
		{" ", "%2\xff"},
	};
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	for (const QuoteCase &c : cases)
		EXPECT_EQ(c.text, engine->unquote(c.quoted)) << "sent: " << c.quoted;
}

TEST(Unquote, UndoesQuoteForEveryByte)
{
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	eString all;
	for (int b = 0; b < 256; ++b)
	{
		eString one(1, char(b));
		EXPECT_EQ(one, engine->unquote(eQUELT::quote(one))) << "byte " << b;
		all += char(b);
	}
	EXPECT_EQ(all, engine->unquote(eQUELT::quote(all)));

	std::mt19937 random(4711);
	for (int round = 0; round < 200; ++round)
	{
		eString text;
		int length = int(random() % 40);
		for (int i = 0; i < length; ++i)
			text += char(random() % 256);
		ASSERT_EQ(text, engine->unquote(eQUELT::quote(text)));
	}
}
} // namespace
