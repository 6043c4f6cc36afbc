// The Lua web interface of VLC 2 and 3.

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "vlc/basicauth.h"
#include "vlc/vlcdialect.h"

namespace
{
// A query value as VLC's Lua interface reads it: it decodes every %XX, takes
// "=" and "&" as separators and "#" as the end of the address, and leaves "+"
// as it stands. Everything that could be read as anything but itself is escaped.
eString queryValue(const eString &text)
{
	static const char hexDigits[] = "0123456789ABCDEF";
	eString out;
	out.reserve(text.size() + text.size() / 2);
	for (char c : text)
	{
		unsigned char byte = static_cast<unsigned char>(c);
		bool plain = byte > 0x20 && byte < 0x7f && !std::strchr("%&=#+?\"<>\\ ", c);
		if (plain)
			out += c;
		else
		{
			out += '%';
			out += hexDigits[byte >> 4];
			out += hexDigits[byte & 0x0f];
		}
	}
	return out;
}

class LuaDialect : public VlcDialect
{
public:
	const char *name() const override { return "lua"; }

	// VLC 3 refuses every request without the password, the engine's own ones too.
	eString rawRequestHeaders(const eString &credentials) const override
	{
		return credentials.empty() ? eString() : basicAuthorizationHeader(credentials);
	}

	bool commandSucceeded(const char *answer) const override
	{
		return std::strstr(answer, "HTTP/1.1 200 OK") || std::strstr(answer, "HTTP/1.0 200 OK");
	}

	// A directory it cannot list comes as an HTML page with status 200.
	bool validListing(const eString &answer) const override
	{
		return answer.find("<title>Error loading") == eString::npos && answer.find("<element ") != eString::npos;
	}

	EntryKind entryKind(const char *type) const override
	{
		if (std::strcmp(type, "dir") == 0)
			return EntryKind::directory;
		if (std::strcmp(type, "file") == 0)
			return EntryKind::file;
		return EntryKind::other;
	}

	// Options after a space in the input would be taken as part of the file
	// name here; the output chain goes in an option of its own.
	eString playRequest(const eString &quotedInput, const eString &chain) const override
	{
		return "requests/status.xml?command=in_play&input=" + quotedInput + "&option=" + queryValue(":sout=" + chain);
	}

	// Here the position is a fraction of the length.
	int positionPercent(const char *position) const override
	{
		if (!position)
			return 0;
		double fraction = std::strtod(position, nullptr);
		if (!std::isfinite(fraction) || fraction <= 0)
			return 0;
		return fraction >= 1 ? 100 : static_cast<int>(fraction * 100);
	}

	const char *pictureSizeInfo() const override { return "Video resolution"; }

	// VLC 3 writes a description before the fourcc, "MPEG-4 Video (mp4v)", too
	// long for the infobar's field: the fourcc in the last parentheses is what
	// the classic interface reports. Anything else is kept as it stands.
	eString codecName(const char *codec) const override
	{
		eString text = codec ? eString(codec) : eString();
		size_t close = text.rfind(')');
		size_t open = close == eString::npos ? eString::npos : text.rfind('(', close);
		if (open == eString::npos || close + 1 != text.size())
			return text;
		eString fourcc = text.mid(open + 1, close - open - 1);
		while (!fourcc.empty() && fourcc[fourcc.size() - 1] == ' ')
			fourcc.erase(fourcc.size() - 1);
		return fourcc.empty() ? text : fourcc;
	}
};
} // namespace

const VlcDialect &luaDialect()
{
	static const LuaDialect dialect;
	return dialect;
}
