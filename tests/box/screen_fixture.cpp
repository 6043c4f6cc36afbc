#include "box/screen_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "box/compositor.h"
#include "box/pngsnapshot.h"
#include "host/gpixmap.h"

namespace fs = std::filesystem;

namespace ScreenTest
{
Surface::Surface(int w, int h) : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h))
{
}

Surface::~Surface()
{
	cairo_surface_destroy(surface);
}

uint32_t Surface::at(int x, int y) const
{
	cairo_surface_flush(surface);
	const unsigned char *data = cairo_image_surface_get_data(surface);
	uint32_t p = reinterpret_cast<const uint32_t *>(data + size_t(y) * cairo_image_surface_get_stride(surface))[x];
	uint32_t a = p >> 24;
	if (a == 0 || a == 255)
		return p;
	auto back = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
	return (a << 24) | (back((p >> 16) & 0xff) << 16) | (back((p >> 8) & 0xff) << 8) | back(p & 0xff);
}

void Surface::fill(uint32_t rgb)
{
	cairo_t *cr = cairo_create(surface);
	cairo_set_source_rgb(cr, ((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0);
	cairo_paint(cr);
	cairo_destroy(cr);
}

bool inkIn(const Surface &s, const eRect &area, uint32_t colour)
{
	return inkColumns(s, area, colour).first >= 0;
}

bool inkIn(const ScreenFrame &f, const eRect &area, uint32_t colour)
{
	for (int y = area.y; y < area.bottom(); ++y)
		for (int x = area.x; x < area.right(); ++x)
			if (!near(f.at(x, y), colour, 24))
				return true;
	return false;
}

std::pair<int, int> inkColumns(const Surface &s, const eRect &area, uint32_t colour)
{
	int first = -1, last = -1;
	for (int x = area.x; x < area.right(); ++x)
		for (int y = area.y; y < area.bottom(); ++y)
			if (!near(s.at(x, y), colour, 24))
			{
				if (first < 0)
					first = x;
				last = x;
				break;
			}
	return {first, last};
}

bool near(uint32_t a, uint32_t b, int tolerance)
{
	for (int shift = 0; shift < 32; shift += 8)
		if (std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) > tolerance)
			return false;
	return true;
}

std::string stagedRoot()
{
	const char *build = std::getenv("QUELT_BUILD_DIR");
	if (build && *build)
		return std::string(build) + "/box-root";
	// The test binary lies in BUILD/tests.
	std::error_code error;
	fs::path self = fs::read_symlink("/proc/self/exe", error);
	return (self.parent_path().parent_path() / "box-root").string();
}

std::unique_ptr<gPixmap> picture(const std::string &receiverPath)
{
	std::string path = stagedRoot() + receiverPath;
	std::unique_ptr<gPixmap> p(loadPNG(path.c_str()));
	EXPECT_TRUE(p) << "no picture " << path << " (is the box root staged?)";
	return p;
}

void expectMatchesReference(const ScreenFrame &frame, const std::string &name)
{
	const char *source = std::getenv("QUELT_SOURCE_DIR");
	fs::path reference = fs::path(source && *source ? source : ".") / "tests/box/reference" / (name + ".png");
	std::string error;
	const char *update = std::getenv("QUELT_UPDATE_REFERENCES");
	if (update && std::string(update) == "1")
	{
		fs::create_directories(reference.parent_path());
		ASSERT_TRUE(writePngSnapshot(reference.string(), frame, error)) << error;
		return;
	}
	std::unique_ptr<gPixmap> expected(loadPNG(reference.string().c_str()));
	ASSERT_TRUE(expected) << "no reference picture " << reference << "; make one with QUELT_UPDATE_REFERENCES=1";
	ASSERT_EQ(expected->width(), frame.width);
	ASSERT_EQ(expected->height(), frame.height);
	int differing = 0;
	for (int y = 0; y < frame.height; ++y)
		for (int x = 0; x < frame.width; ++x)
			if (!near(expected->at(x, y) | 0xff000000u, frame.at(x, y) | 0xff000000u, 40))
				++differing;
	int allowed = frame.width * frame.height / 200;
	if (differing > allowed)
	{
		fs::path actual = fs::temp_directory_path() / ("quelt-" + name + "-actual.png");
		writePngSnapshot(actual.string(), frame, error);
		ADD_FAILURE() << name << ": " << differing << " pixels differ from " << reference << " (at most " << allowed
			      << " may); the screen as drawn is in " << actual;
	}
}
} // namespace ScreenTest
