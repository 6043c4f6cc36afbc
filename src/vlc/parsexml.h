#ifndef VLC_PARSEXML_H
#define VLC_PARSEXML_H

class XMLTreeParser;

// Parses one complete answer of VLC (up to its terminating zero). Returns the
// tree, which the caller deletes, or null after printing why to standard output:
// the text is not well-formed XML, or it holds no root element.
XMLTreeParser *parseXml(const char *text);

#endif
