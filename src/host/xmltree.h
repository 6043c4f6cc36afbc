#ifndef HOST_XMLTREE_H
#define HOST_XMLTREE_H

#include <deque>
#include <vector>

#include "host/estring.h"

struct XML_ParserStruct;

struct XMLAttribute
{
	eString name;
	eString value;
};

// One element of a parsed document. The tree holds elements only: an element's
// character data is its data (the concatenation of all its own text pieces, the
// text of child elements excluded), not a child node.
class XMLTreeNode
{
public:
	// An element's type is its tag name, so GetType and GetName agree.
	const char *GetType() const { return m_name.c_str(); }
	const char *GetName() const { return m_name.c_str(); }
	// The element's own text; empty, never null, when it has none.
	const char *GetData() const { return m_data.c_str(); }
	const eString &data() const { return m_data; }
	// The value of the attribute, or null when the element has no such attribute.
	const char *GetAttributeValue(const char *name) const;
	// All attributes in document order.
	const std::vector<XMLAttribute> &GetAttributes() const { return m_attributes; }

	XMLTreeNode *GetChild() const { return m_child; }
	XMLTreeNode *GetNext() const { return m_next; }
	XMLTreeNode *GetParent() const { return m_parent; }

private:
	friend class XMLTreeParser;
	eString m_name, m_data;
	std::vector<XMLAttribute> m_attributes;
	XMLTreeNode *m_parent = nullptr;
	XMLTreeNode *m_child = nullptr;
	XMLTreeNode *m_lastChild = nullptr;
	XMLTreeNode *m_next = nullptr;
};

// Parses a document, fed in pieces of any size, into a tree of XMLTreeNode (on
// expat). The parser owns the tree; it dies with the parser.
//
// The encoding names how the input is written and overrides the document's own
// declaration; null lets the document declare it (UTF-8 by default). Names,
// attribute values and texts come back in the input's own bytes: for
// "ISO-8859-1" the parser turns expat's UTF-8 back into single Latin-1 bytes (a
// character reference beyond U+00FF, which Latin-1 cannot hold, becomes '?');
// for any other encoding they come back as UTF-8.
class XMLTreeParser
{
public:
	explicit XMLTreeParser(const char *encoding = nullptr);
	~XMLTreeParser();
	XMLTreeParser(const XMLTreeParser &) = delete;
	XMLTreeParser &operator=(const XMLTreeParser &) = delete;

	// Feeds the next len bytes; isFinal marks the last piece. Returns 0 when the
	// text is not well-formed XML (then and from then on), nonzero otherwise.
	int Parse(const char *buf, int len, int isFinal);
	// The document's root element, or null when none has started.
	XMLTreeNode *RootNode() const { return m_root; }

	// After a failed Parse: what went wrong and where.
	int GetErrorCode() const;
	const char *ErrorString() const;
	static const char *ErrorString(int code);
	int GetCurrentLineNumber() const;
	int GetCurrentColumnNumber() const;

private:
	static void startElement(void *user, const char *name, const char **attributes);
	static void endElement(void *user, const char *name);
	static void characterData(void *user, const char *text, int len);
	eString fromParser(const char *text, size_t len) const;

	XML_ParserStruct *m_parser;
	bool m_latin1;
	bool m_failed = false;
	// Nodes live here rather than in their parents, so a deeply nested document
	// is freed without recursion.
	std::deque<XMLTreeNode> m_nodes;
	XMLTreeNode *m_root = nullptr;
	XMLTreeNode *m_current = nullptr;
};

#endif
