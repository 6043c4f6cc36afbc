#include "vlc/parsexml.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "host/xmltree.h"

XMLTreeParser *parseXml(const char *text)
{
	auto parser = std::make_unique<XMLTreeParser>();
	size_t length = text ? strlen(text) : 0;
	// The parser takes an int length; an answer beyond that goes in several pieces.
	int ok = 1;
	size_t done = 0;
	do
	{
		size_t piece = std::min<size_t>(length - done, INT_MAX);
		bool last = done + piece == length;
		ok = parser->Parse(length ? text + done : "", int(piece), last ? 1 : 0);
		done += piece;
	} while (ok && done < length);

	// Expat reports a text that ends before any element began as an error of its
	// own; that is an answer without a root, not a broken one.
	bool noElement = !ok && parser->GetErrorCode() == XML_ERROR_NO_ELEMENTS && !parser->RootNode();
	if (!ok && !noElement)
	{
		printf("Error parsing \"VLC Answer\": %s at line %d\n", XMLTreeParser::ErrorString(parser->GetErrorCode()),
			parser->GetCurrentLineNumber());
		return nullptr;
	}
	if (!parser->RootNode())
	{
		printf("Error: No Root Node\n");
		return nullptr;
	}
	return parser.release();
}
