#ifndef HOST_GPAINTER_H
#define HOST_GPAINTER_H

#include <vector>

#include "host/erect.h"
#include "host/estring.h"
#include "host/gcolor.h"
#include "host/gpixmap.h"

// The screen is 720x576 pixels.
constexpr int kScreenWidth = 720;
constexpr int kScreenHeight = 576;

// A drawing target: the screen (gFBDC) or a picture in memory (gPixmapDC).
class gDC
{
public:
	virtual ~gDC() = default;
	virtual gPixmap *getPixmap() = 0;
};

// The frame buffer: the screen's picture. The box composes what it shows elsewhere;
// the plug-in only needs this picture as the target of palette merges.
class gFBDC : public gDC
{
public:
	static gFBDC *getInstance();
	gPixmap *getPixmap() override { return &m_pixmap; }

private:
	gFBDC() : m_pixmap(eSize(kScreenWidth, kScreenHeight)) {}
	gPixmap m_pixmap;
};

// A picture as a drawing target. It does not own the picture.
class gPixmapDC : public gDC
{
public:
	explicit gPixmapDC(gPixmap *pixmap) : m_pixmap(pixmap) {}
	gPixmap *getPixmap() override { return m_pixmap; }

private:
	gPixmap *m_pixmap;
};

// Measures one line of text. The default estimates 0.55 x the font size per byte
// and a line height of the font size; the box installs one that asks pango.
class TextMeasurer
{
public:
	virtual ~TextMeasurer() = default;
	virtual eSize measure(const eString &line, const gFont &font) const;
	// The measurer in use. setActive does not take ownership; null restores the default.
	static const TextMeasurer &active();
	static void setActive(const TextMeasurer *measurer);
};

// A laid-out piece of text in an area. Lines break at '\n' only. The paragraph is
// shared by reference count: the creator holds one reference, grab() adds one and
// destroy() drops one (deleting the paragraph with the last).
class eTextPara
{
public:
	explicit eTextPara(const eRect &area, ePoint start = ePoint(-1, -1));
	eTextPara(const eTextPara &) = delete;
	eTextPara &operator=(const eTextPara &) = delete;

	void setFont(const gFont &font);
	const gFont &getFont() const { return m_font; }
	void renderString(const eString &text, int flags = 0);
	const eString &getText() const { return m_text; }
	int getFlags() const { return m_flags; }
	const eRect &getArea() const { return m_area; }
	// The rectangle the text covers, in the paragraph's coordinates: it starts at
	// the area's top left and is as wide as the widest line and as high as the lines.
	eRect getBoundBox() const { return m_boundBox; }

	eTextPara *grab();
	void destroy();

private:
	~eTextPara() = default;
	void layout();

	eRect m_area;
	ePoint m_start;
	gFont m_font;
	eString m_text;
	int m_flags = 0;
	eRect m_boundBox;
	int m_refs = 1;
};

// Draws into a device. The public operations take logical coordinates (relative
// to the logical zero), clip against the clip stack and hand the result to the
// protected draw* operations in device coordinates, which a real painter (the
// box's cairo painter) or a recording painter implements. The base draws nothing,
// so a painter on a picture serves the plug-in's palette merges as they are.
class gPainter
{
public:
	// Text flags.
	enum
	{
		RT_HALIGN_LEFT = 0,
		RT_HALIGN_RIGHT = 1,
		RT_HALIGN_CENTER = 2,
		RT_VALIGN_CENTER = 8,
		RT_WRAP = 16,
	};
	// Blit flags: with BF_ALPHA_TEST, pixels whose alpha is 0 are not drawn;
	// otherwise the picture is blended by its alpha.
	enum
	{
		BF_ALPHA_TEST = 1,
	};

	// A painter for the whole screen.
	gPainter();
	// A painter on a device; an empty rectangle means the device's whole picture.
	explicit gPainter(gDC &dc, const eRect &area = eRect());
	virtual ~gPainter() = default;
	gPainter(const gPainter &) = delete;
	gPainter &operator=(const gPainter &) = delete;

	void setForegroundColor(const gColor &c) { m_foreground = c; }
	void setBackgroundColor(const gColor &c) { m_background = c; }
	const gColor &getForegroundColor() const { return m_foreground; }
	const gColor &getBackgroundColor() const { return m_background; }
	void setFont(const gFont &font) { m_font = font; }
	const gFont &getFont() const { return m_font; }

	// Fills with the given colour, or with the foreground colour.
	void fill(const eRect &area, const gColor &color);
	void fill(const eRect &area) { fill(area, m_foreground); }
	// Fills the clip area with the background colour.
	void clear();
	// Draws the picture with its top left at pos; a non-empty clip (logical
	// coordinates) limits it further.
	void blit(const gPixmap &pixmap, ePoint pos, const eRect &clip = eRect(), int flags = 0);
	// Text in the area with the current font and foreground colour.
	void renderText(const eRect &area, const eString &text, int flags = 0);
	// A paragraph, its area moved by offset, with the current foreground colour.
	void renderPara(const eTextPara &para, ePoint offset = ePoint(0, 0));
	// Colours are true colours here, so there is no palette to merge.
	void mergePalette(gPixmap &target) {}
	void mergePalette(gPixmap *target) {}

	// Logical coordinates: (0, 0) is this device point.
	void setLogicalZero(ePoint zero) { m_zero = zero; }
	void moveLogicalZero(ePoint by) { m_zero = m_zero + by; }
	void resetLogicalZero() { m_zero = ePoint(0, 0); }
	ePoint getLogicalZero() const { return m_zero; }

	// Narrows drawing to the area (logical coordinates) until the matching clippop.
	void clip(const eRect &area);
	void clippop();
	// The current clip area in device coordinates.
	eRect getClip() const { return m_clips.back(); }

	// Called when a paint pass is complete.
	virtual void flush() {}

protected:
	// Device coordinates; clip is never empty and already applied to rect for fills.
	virtual void drawFill(const eRect &rect, const gColor &color) {}
	virtual void drawPixmap(const gPixmap &pixmap, ePoint pos, const eRect &clip, int flags) {}
	virtual void drawText(const eRect &rect, const eString &text, const gFont &font, const gColor &color,
		int flags, const eRect &clip) {}

private:
	eRect toDevice(const eRect &r) const { return eRect(r.x + m_zero.x, r.y + m_zero.y, r.w, r.h); }

	gColor m_foreground{255, 255, 255};
	gColor m_background{0, 0, 0};
	gFont m_font;
	ePoint m_zero;
	std::vector<eRect> m_clips;
};

#endif
