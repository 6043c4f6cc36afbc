#include "engine/engine.h"
#include "host/platform.h"

eString eQUELTEngine::unquote(const eString &text)
{
	eString result;
	result.reserve(text.size());
	for (size_t i = 0; i < text.size(); ++i)
	{
		char c = text[i];
		if (c == '%')
		{
			// An escape takes the (at most) two bytes after the percent sign,
			// whatever they are; a malformed one still decodes to some byte, and a
			// percent sign at the very end stays itself.
			int value = '%';
			if (i + 1 < text.size())
				value = getHex(static_cast<unsigned char>(text[++i]));
			if (i + 1 < text.size())
				value = value * 16 + getHex(static_cast<unsigned char>(text[++i]));
			result += static_cast<char>(value & 0xff);
		}
		else if (c == '+')
			result += ' ';
		else
			result += c;
	}
	return result;
}
