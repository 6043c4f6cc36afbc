#include "plugin/equelt.h"

eString eQUELT::quote(const eString &text)
{
	static const char hexDigits[] = "0123456789abcdef";
	eString result;
	result.reserve(text.size() * 3);
	for (char c : text)
	{
		unsigned char byte = static_cast<unsigned char>(c);
		// Bytes, not characters: names go out in whatever 8-bit encoding the PC
		// uses, and everything but letters, digits and the drive colon is escaped.
		bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
			byte == ':';
		if (plain)
			result += c;
		else
		{
			result += '%';
			result += hexDigits[byte >> 4];
			result += hexDigits[byte & 0x0f];
		}
	}
	return result;
}
