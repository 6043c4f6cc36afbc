#include "host/xmltree.h"

#include <cstring>
#include <expat.h>
#include <strings.h>

namespace
{
// Turns UTF-8 from expat back into Latin-1 bytes. Expat only ever hands out
// well-formed UTF-8, but a damaged sequence still gives '?' rather than garbage.
eString utf8ToLatin1(const char *text, size_t len)
{
	eString out;
	out.reserve(len);
	const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
	const unsigned char *end = p + len;
	while (p < end)
	{
		unsigned char c = *p;
		if (c < 0x80)
		{
			out += char(c);
			++p;
			continue;
		}
		size_t follow = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
		if (follow == 1 && p + 1 < end && c <= 0xC3)
			out += char(((c & 0x03) << 6) | (p[1] & 0x3F));
		else
			out += '?';
		++p;
		for (size_t i = 0; i < follow && p < end && (*p & 0xC0) == 0x80; ++i)
			++p;
	}
	return out;
}
} // namespace

const char *XMLTreeNode::GetAttributeValue(const char *name) const
{
	if (!name)
		return nullptr;
	for (const XMLAttribute &a : m_attributes)
		if (a.name == name)
			return a.value.c_str();
	return nullptr;
}

XMLTreeParser::XMLTreeParser(const char *encoding)
	: m_parser(XML_ParserCreate(encoding)),
	  m_latin1(encoding && !strcasecmp(encoding, "ISO-8859-1"))
{
	if (!m_parser)
		return;
	XML_SetUserData(m_parser, this);
	XML_SetElementHandler(m_parser, &XMLTreeParser::startElement, &XMLTreeParser::endElement);
	XML_SetCharacterDataHandler(m_parser, &XMLTreeParser::characterData);
}

XMLTreeParser::~XMLTreeParser()
{
	if (m_parser)
		XML_ParserFree(m_parser);
}

int XMLTreeParser::Parse(const char *buf, int len, int isFinal)
{
	if (!m_parser || m_failed)
		return 0;
	if (!buf || len < 0)
		len = 0;
	if (XML_Parse(m_parser, buf, len, isFinal) == XML_STATUS_ERROR)
	{
		m_failed = true;
		return 0;
	}
	return 1;
}

int XMLTreeParser::GetErrorCode() const
{
	return m_parser ? int(XML_GetErrorCode(m_parser)) : int(XML_ERROR_NO_MEMORY);
}

const char *XMLTreeParser::ErrorString() const
{
	return ErrorString(GetErrorCode());
}

const char *XMLTreeParser::ErrorString(int code)
{
	const char *text = XML_ErrorString(static_cast<XML_Error>(code));
	return text ? text : "unknown error";
}

int XMLTreeParser::GetCurrentLineNumber() const
{
	return m_parser ? int(XML_GetCurrentLineNumber(m_parser)) : 0;
}

int XMLTreeParser::GetCurrentColumnNumber() const
{
	return m_parser ? int(XML_GetCurrentColumnNumber(m_parser)) : 0;
}

eString XMLTreeParser::fromParser(const char *text, size_t len) const
{
	return m_latin1 ? utf8ToLatin1(text, len) : eString(text, len);
}

void XMLTreeParser::startElement(void *user, const char *name, const char **attributes)
{
	XMLTreeParser *self = static_cast<XMLTreeParser *>(user);
	XMLTreeNode &node = self->m_nodes.emplace_back();
	node.m_name = self->fromParser(name, std::strlen(name));
	for (const char **a = attributes; a && a[0] && a[1]; a += 2)
		node.m_attributes.push_back({self->fromParser(a[0], std::strlen(a[0])), self->fromParser(a[1], std::strlen(a[1]))});

	XMLTreeNode *parent = self->m_current;
	node.m_parent = parent;
	if (!parent)
		self->m_root = &node;
	else if (parent->m_lastChild)
		parent->m_lastChild->m_next = &node;
	else
		parent->m_child = &node;
	if (parent)
		parent->m_lastChild = &node;
	self->m_current = &node;
}

void XMLTreeParser::endElement(void *user, const char *)
{
	XMLTreeParser *self = static_cast<XMLTreeParser *>(user);
	XMLTreeNode *node = self->m_current;
	if (!node)
		return;
	// The text was collected as expat's UTF-8; it is converted once, as a whole,
	// so a character can never be split between two pieces.
	if (self->m_latin1 && !node->m_data.empty())
		node->m_data = utf8ToLatin1(node->m_data.data(), node->m_data.size());
	self->m_current = node->m_parent;
}

void XMLTreeParser::characterData(void *user, const char *text, int len)
{
	XMLTreeParser *self = static_cast<XMLTreeParser *>(user);
	if (self->m_current && len > 0)
		self->m_current->m_data.append(text, size_t(len));
}
