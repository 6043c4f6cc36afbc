#ifndef HOST_ESKIN_H
#define HOST_ESKIN_H

#include <map>
#include <memory>
#include <vector>

#include "host/erect.h"
#include "host/estring.h"
#include "host/gcolor.h"

class eWidget;
class gPixmap;

// The receiver's skin: named values, colours, fonts, pictures and layouts,
// read from an XML file of this host's own format:
//
//   <skin>
//     <value name="fontsize" value="20"/>
//     <color name="volume_left" value="#00c000"/>          "#rrggbb" or "#aarrggbb";
//                                                           alpha ff is opaque
//     <font name="eListBox.EntryText.normal" family="DejaVu Sans" size="20"/>
//     <image name="volume_grafik" file="pictures/volume.png"/>
//     <layout name="ezap_main" position="0,376" size="720,200" backgroundColor="#202040">
//       <element name="e_now_title" position="80,40" size="400,30" font="infobar"/>
//       <element name="fileInfoBar" position="0,0" size="720,40">
//         <element name="fileinfos" position="10,5" size="700,30"/>
//       </element>
//     </layout>
//   </skin>
//
// - The root element is <skin>; its children may come in any order. A later
//   entry of the same kind and name replaces an earlier one, also across files
//   loaded into one skin.
// - An image's file is a receiver path, or a path relative to the folder of the
//   skin file. It is loaded on its first query and kept by the skin.
// - A layout positions a widget and its named descendants. position is "x,y"
//   (relative to the parent's client area), size is "w,h"; both are optional.
//   Every other attribute of a layout or an element is a property handed to the
//   widget's setProperty. A colour or font there is written out ("#rrggbb",
//   "family:size") or names an entry of the active skin.
//   A nested element is looked up inside the widget of its enclosing element.
//
// An entry that is malformed (no name, a number or colour that does not parse)
// is skipped with a warning; the rest of the file still counts.
//
// The skin lives on the GUI thread, like the widgets it builds.
class eSkin
{
public:
	// The colour queryColor gives for a name the skin does not define: opaque white.
	static const gColor defaultColor;

	eSkin();
	~eSkin();
	eSkin(const eSkin &) = delete;
	eSkin &operator=(const eSkin &) = delete;

	// The skin the receiver runs with, or null. A skin whose load succeeds becomes
	// the active one when none is; setActive chooses explicitly (null: none).
	static eSkin *getActive();
	static void setActive(eSkin *skin);
	void makeActive() { setActive(this); }

	// Adds the entries of an XML skin file (a receiver path, looked up under the
	// box root first, or a host path). 0 on success; -1 when the file cannot be
	// read, -2 when it is not well-formed XML, -3 when its root is not <skin>, each
	// with a warning. A file that fails adds nothing.
	int load(const char *file);

	int queryValue(const eString &name, int defaultValue) const;
	// The picture, owned by the skin, or null when absent or unloadable.
	gPixmap *queryImage(const eString &name);
	// defaultColor when absent.
	gColor queryColor(const eString &name) const;
	// A default-constructed gFont ("DejaVu Sans", 20) when absent.
	gFont queryFont(const eString &name) const;
	bool hasColor(const eString &name) const { return m_colors.count(name) != 0; }
	bool hasFont(const eString &name) const { return m_fonts.count(name) != 0; }

	// Applies the layout called name to widget: its position, size and properties,
	// then those of each element to the widget's descendant of that name (found
	// with eWidget::search). An element the widget lacks is skipped with a warning.
	// 0 on success; -1 when the skin has no such layout (or widget is null).
	int build(eWidget *widget, const eString &name);

	struct Element
	{
		eString name;
		bool hasPosition = false, hasSize = false;
		ePoint position;
		eSize size;
		std::vector<std::pair<eString, eString>> properties;
		std::vector<Element> children;
	};

private:
	struct Image
	{
		eString file;
		bool tried = false;
		std::unique_ptr<gPixmap> pixmap;
	};
	void apply(eWidget *widget, const Element &element, const eString &layout);

	std::map<eString, int> m_values;
	std::map<eString, gColor> m_colors;
	std::map<eString, gFont> m_fonts;
	std::map<eString, Image> m_images;
	std::map<eString, Element> m_layouts;
	// Pictures of images that a later file redefined: widgets may still show them.
	std::vector<std::unique_ptr<gPixmap>> m_replacedPixmaps;
};

#endif
