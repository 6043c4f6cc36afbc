#ifndef HOST_ERECT_H
#define HOST_ERECT_H

// Screen geometry in pixels: the OSD is 720x576 with (0,0) at the top left.
struct ePoint
{
	int x = 0, y = 0;
	ePoint() = default;
	ePoint(int x_, int y_) : x(x_), y(y_) {}
	bool operator==(const ePoint &) const = default;
	ePoint operator+(const ePoint &o) const { return ePoint(x + o.x, y + o.y); }
	ePoint operator-(const ePoint &o) const { return ePoint(x - o.x, y - o.y); }
};

struct eSize
{
	int w = 0, h = 0;
	eSize() = default;
	eSize(int w_, int h_) : w(w_), h(h_) {}
	int width() const { return w; }
	int height() const { return h; }
	bool operator==(const eSize &) const = default;
};

struct eRect
{
	int x = 0, y = 0, w = 0, h = 0;
	eRect() = default;
	eRect(int x_, int y_, int w_, int h_) : x(x_), y(y_), w(w_), h(h_) {}
	eRect(ePoint p, eSize s) : x(p.x), y(p.y), w(s.w), h(s.h) {}
	int left() const { return x; }
	int top() const { return y; }
	int right() const { return x + w; }
	int bottom() const { return y + h; }
	int width() const { return w; }
	int height() const { return h; }
	ePoint topLeft() const { return ePoint(x, y); }
	eSize size() const { return eSize(w, h); }
	bool isEmpty() const { return w <= 0 || h <= 0; }
	bool contains(ePoint p) const { return p.x >= x && p.y >= y && p.x < right() && p.y < bottom(); }
	eRect intersected(const eRect &o) const
	{
		int l = x > o.x ? x : o.x, t = y > o.y ? y : o.y;
		int r = right() < o.right() ? right() : o.right(), b = bottom() < o.bottom() ? bottom() : o.bottom();
		if (r <= l || b <= t)
			return eRect();
		return eRect(l, t, r - l, b - t);
	}
	bool operator==(const eRect &) const = default;
};

#endif
