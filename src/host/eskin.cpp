#include "host/eskin.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "host/ewidget.h"
#include "host/gpixmap.h"
#include "host/log.h"
#include "host/paths.h"
#include "host/xmltree.h"

namespace
{
eSkin *activeSkin = nullptr;

// Nesting deeper than any real layout needs; a file that goes deeper is damaged,
// and the limit keeps the recursion below bounded.
const int maxElementDepth = 32;

bool parseInt(const char *text, int &out)
{
	if (!text || !*text)
		return false;
	errno = 0;
	char *end = nullptr;
	long v = std::strtol(text, &end, 10);
	if (*end || errno == ERANGE || v < INT_MIN || v > INT_MAX)
		return false;
	out = int(v);
	return true;
}

// "a,b" with optional blanks around the numbers.
bool parsePair(const char *text, int &a, int &b)
{
	if (!text)
		return false;
	const char *comma = std::strchr(text, ',');
	if (!comma)
		return false;
	eString first(text, size_t(comma - text)), second(comma + 1);
	auto trim = [](eString &s) {
		size_t start = s.find_first_not_of(" \t"), stop = s.find_last_not_of(" \t");
		s = start == eString::npos ? eString() : eString(s.substr(start, stop - start + 1));
	};
	trim(first);
	trim(second);
	return parseInt(first.c_str(), a) && parseInt(second.c_str(), b);
}

bool readFile(const eString &path, eString &out)
{
	FILE *f = std::fopen(path.c_str(), "rb");
	if (!f)
		return false;
	char buf[16384];
	size_t n;
	while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0)
		out.append(buf, n);
	bool ok = !std::ferror(f);
	std::fclose(f);
	return ok;
}

bool isFile(const eString &path)
{
	struct stat st;
	return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// What one file adds, collected in full before any of it reaches the skin.
struct Entries
{
	std::map<eString, int> values;
	std::map<eString, gColor> colors;
	std::map<eString, gFont> fonts;
	std::map<eString, eString> images;
	std::map<eString, eSkin::Element> layouts;
};

class Reader
{
public:
	Reader(const eString &file, const eString &folder) : m_file(file), m_folder(folder) {}

	void read(const XMLTreeNode *root, Entries &out)
	{
		for (const XMLTreeNode *n = root->GetChild(); n; n = n->GetNext())
		{
			eString kind = n->GetName();
			const char *name = n->GetAttributeValue("name");
			if (!name || !*name)
			{
				eWarning("skin %s: <%s> without a name skipped", m_file.c_str(), kind.c_str());
				continue;
			}
			if (kind == "value")
			{
				int v;
				if (parseInt(n->GetAttributeValue("value"), v))
					out.values[name] = v;
				else
					bad(kind, name, "value");
			}
			else if (kind == "color")
			{
				gColor c;
				const char *value = n->GetAttributeValue("value");
				if (value && eWidget::parseColor(value, c))
					out.colors[name] = c;
				else
					bad(kind, name, "value");
			}
			else if (kind == "font")
			{
				gFont f;
				int size;
				if (const char *family = n->GetAttributeValue("family"); family && *family)
					f.family = family;
				if (parseInt(n->GetAttributeValue("size"), size) && size > 0)
				{
					f.pointSize = size;
					out.fonts[name] = f;
				}
				else
					bad(kind, name, "size");
			}
			else if (kind == "image")
			{
				const char *file = n->GetAttributeValue("file");
				if (!file || !*file)
					bad(kind, name, "file");
				else if (file[0] == '/')
					out.images[name] = file;
				else
					out.images[name] = m_folder + file;
			}
			else if (kind == "layout")
			{
				eSkin::Element layout;
				if (readElement(n, layout, 0))
					out.layouts[name] = std::move(layout);
			}
			else
				eWarning("skin %s: unknown entry <%s name=\"%s\"> skipped", m_file.c_str(), kind.c_str(), name);
		}
	}

private:
	void bad(const eString &kind, const char *name, const char *attribute)
	{
		eWarning("skin %s: <%s name=\"%s\"> has no valid %s; skipped", m_file.c_str(), kind.c_str(), name, attribute);
	}

	bool readElement(const XMLTreeNode *node, eSkin::Element &out, int depth)
	{
		out.name = node->GetAttributeValue("name");
		for (const XMLAttribute &a : node->GetAttributes())
		{
			if (a.name == "name")
				continue;
			if (a.name == "position" || a.name == "size")
			{
				int x, y;
				if (!parsePair(a.value.c_str(), x, y) || (a.name == "size" && (x < 0 || y < 0)))
				{
					eWarning("skin %s: element \"%s\": %s \"%s\" is not a pair of numbers; skipped", m_file.c_str(),
						out.name.c_str(), a.name.c_str(), a.value.c_str());
					return false;
				}
				if (a.name == "position")
				{
					out.position = ePoint(x, y);
					out.hasPosition = true;
				}
				else
				{
					out.size = eSize(x, y);
					out.hasSize = true;
				}
			}
			else
				out.properties.emplace_back(a.name, a.value);
		}
		for (const XMLTreeNode *c = node->GetChild(); c; c = c->GetNext())
		{
			const char *name = c->GetAttributeValue("name");
			if (eString(c->GetName()) != "element" || !name || !*name)
			{
				eWarning("skin %s: in \"%s\": <%s> is not a named <element>; skipped", m_file.c_str(), out.name.c_str(), c->GetName());
				continue;
			}
			if (depth + 1 >= maxElementDepth)
			{
				eWarning("skin %s: \"%s\" is nested too deeply; skipped", m_file.c_str(), name);
				continue;
			}
			eSkin::Element child;
			if (readElement(c, child, depth + 1))
				out.children.push_back(std::move(child));
		}
		return true;
	}

	eString m_file, m_folder;
};
} // namespace

const gColor eSkin::defaultColor(255, 255, 255, 255);

eSkin::eSkin() = default;

eSkin::~eSkin()
{
	if (activeSkin == this)
		activeSkin = nullptr;
}

eSkin *eSkin::getActive()
{
	return activeSkin;
}

void eSkin::setActive(eSkin *skin)
{
	static bool lookupsInstalled = false;
	if (!lookupsInstalled)
	{
		// Widgets name colours and fonts in their properties; the names mean what
		// the skin active at that moment defines.
		eWidget::setColorLookup([](const eString &name, gColor &out) {
			eSkin *s = getActive();
			if (!s || !s->hasColor(name))
				return false;
			out = s->queryColor(name);
			return true;
		});
		eWidget::setFontLookup([](const eString &name, gFont &out) {
			eSkin *s = getActive();
			if (!s || !s->hasFont(name))
				return false;
			out = s->queryFont(name);
			return true;
		});
		lookupsInstalled = true;
	}
	activeSkin = skin;
}

int eSkin::load(const char *file)
{
	if (!file || !*file)
	{
		eWarning("skin: no file named");
		return -1;
	}
	eString asked(file), path(file);
	if (asked[0] == '/' && isFile(hostPath(asked)))
		path = hostPath(asked);

	eString text;
	if (!readFile(path, text))
	{
		eWarning("skin %s: cannot read it: %s", file, std::strerror(errno));
		return -1;
	}
	XMLTreeParser parser;
	if (!parser.Parse(text.data(), int(text.size()), 1))
	{
		eWarning("skin %s: not a skin file: %s at line %d", file, parser.ErrorString(), parser.GetCurrentLineNumber());
		return -2;
	}
	const XMLTreeNode *root = parser.RootNode();
	if (!root || eString(root->GetName()) != "skin")
	{
		eWarning("skin %s: not a skin file: the root element is <%s>, not <skin>", file, root ? root->GetName() : "");
		return -3;
	}

	size_t slash = asked.rfind('/');
	Entries entries;
	Reader(asked, slash == eString::npos ? eString() : eString(asked.substr(0, slash + 1))).read(root, entries);

	for (auto &[name, v] : entries.values)
		m_values[name] = v;
	for (auto &[name, c] : entries.colors)
		m_colors[name] = c;
	for (auto &[name, f] : entries.fonts)
		m_fonts[name] = f;
	for (auto &[name, imageFile] : entries.images)
	{
		Image &image = m_images[name];
		if (image.pixmap)
			m_replacedPixmaps.push_back(std::move(image.pixmap));
		image.file = imageFile;
		image.tried = false;
	}
	for (auto &[name, layout] : entries.layouts)
		m_layouts[name] = std::move(layout);

	if (!activeSkin)
		makeActive();
	return 0;
}

int eSkin::queryValue(const eString &name, int defaultValue) const
{
	auto it = m_values.find(name);
	return it == m_values.end() ? defaultValue : it->second;
}

gPixmap *eSkin::queryImage(const eString &name)
{
	auto it = m_images.find(name);
	if (it == m_images.end())
		return nullptr;
	Image &image = it->second;
	if (!image.tried)
	{
		// Tried once only: a missing picture is not looked for again on every query.
		image.tried = true;
		image.pixmap.reset(loadPNG(image.file.c_str()));
		if (!image.pixmap)
			eWarning("skin: image %s: cannot load %s", name.c_str(), image.file.c_str());
	}
	return image.pixmap.get();
}

gColor eSkin::queryColor(const eString &name) const
{
	auto it = m_colors.find(name);
	return it == m_colors.end() ? defaultColor : it->second;
}

gFont eSkin::queryFont(const eString &name) const
{
	auto it = m_fonts.find(name);
	return it == m_fonts.end() ? gFont() : it->second;
}

int eSkin::build(eWidget *widget, const eString &name)
{
	auto it = m_layouts.find(name);
	if (!widget || it == m_layouts.end())
		return -1;
	apply(widget, it->second, name);
	return 0;
}

void eSkin::apply(eWidget *widget, const Element &element, const eString &layout)
{
	if (element.hasPosition)
		widget->move(element.position);
	if (element.hasSize)
		widget->resize(element.size);
	for (const auto &[prop, value] : element.properties)
		if (widget->setProperty(prop, value))
			eWarning("skin: layout %s: \"%s\" does not know the property %s", layout.c_str(), element.name.c_str(), prop.c_str());
	for (const Element &child : element.children)
	{
		eWidget *target = widget->search(child.name);
		if (!target)
		{
			eWarning("skin: layout %s: the widget has no element %s; skipped", layout.c_str(), child.name.c_str());
			continue;
		}
		apply(target, child, layout);
	}
}
