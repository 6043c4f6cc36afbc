#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/gpixmap.h"
#include "host/paths.h"

namespace
{
class TempDir
{
public:
	TempDir()
	{
		std::string tmpl = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/pixmap_test.XXXXXX";
		m_path = mkdtemp(tmpl.data());
	}
	~TempDir() { std::filesystem::remove_all(m_path); }
	const std::string &path() const { return m_path; }

private:
	std::string m_path;
};

// The colour types of the PNG format.
enum : uint8_t
{
	Gray = 0,
	Rgb = 2,
	Palette = 3,
	GrayAlpha = 4,
	Rgba = 6,
};

struct Rgb8
{
	uint8_t r, g, b;
};

// A picture in the file's own pixel layout: rows hold the raw samples for
// colorType and bitDepth, packed as the format stores them.
struct PngFixture
{
	const char *what;
	int width, height;
	uint8_t colorType, bitDepth;
	std::vector<uint8_t> rows; // all rows, each (width * channels * bitDepth + 7) / 8 bytes
	std::vector<Rgb8> palette;
	std::vector<uint8_t> transparency;
	bool interlaced;
	std::vector<uint32_t> expected; // ARGB
};

void PrintTo(const PngFixture &fixture, std::ostream *os)
{
	*os << fixture.what;
}

// The fixtures are encoded here by hand rather than with libpng, so the reader is
// checked against the file format itself and not against its own library.
uint32_t crc32(const std::string &data)
{
	uint32_t crc = 0xFFFFFFFF;
	for (unsigned char c : data)
	{
		crc ^= c;
		for (int k = 0; k < 8; ++k)
			crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
	}
	return ~crc;
}

void put32(std::string &out, uint32_t v)
{
	for (int shift = 24; shift >= 0; shift -= 8)
		out += char((v >> shift) & 0xFF);
}

void chunk(std::string &png, const char *type, const std::string &data)
{
	put32(png, uint32_t(data.size()));
	std::string body = std::string(type, 4) + data;
	png += body;
	put32(png, crc32(body));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string zlibStored(const std::string &raw)
{
	std::string out("\x78\x01", 2);
	size_t pos = 0;
	do
	{
		size_t n = std::min<size_t>(65535, raw.size() - pos);
		out += char(pos + n == raw.size() ? 1 : 0);
		out += char(n & 0xFF);
		out += char(n >> 8);
		out += char(~n & 0xFF);
		out += char((~n >> 8) & 0xFF);
		out += raw.substr(pos, n);
		pos += n;
	} while (pos < raw.size());
	uint32_t a = 1, b = 0;
	for (unsigned char c : raw)
	{
		a = (a + c) % 65521;
		b = (b + a) % 65521;
	}
	put32(out, (b << 16) | a);
	return out;
}

int channels(uint8_t colorType)
{
	return colorType == Rgb ? 3 : colorType == GrayAlpha ? 2 : colorType == Rgba ? 4 : 1;
}

// The scanlines as stored: each row behind a filter byte of 0, and for an
// interlaced picture the seven Adam7 passes one after the other.
std::string scanlines(const PngFixture &fixture)
{
	const int bits = channels(fixture.colorType) * fixture.bitDepth;
	const size_t rowBytes = (size_t(fixture.width) * bits + 7) / 8;
	auto sample = [&](int x, int y) { // the bits of one pixel, right-aligned
		uint64_t v = 0;
		for (int i = 0; i < bits; ++i)
		{
			size_t bit = size_t(x) * bits + i;
			v = (v << 1) | ((fixture.rows[y * rowBytes + bit / 8] >> (7 - bit % 8)) & 1);
		}
		return v;
	};
	struct Pass
	{
		int x0, y0, dx, dy;
	};
	std::vector<Pass> passes = {{0, 0, 1, 1}};
	if (fixture.interlaced)
		passes = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
	std::string out;
	for (const Pass &p : passes)
	{
		if (p.x0 >= fixture.width || p.y0 >= fixture.height)
			continue;
		for (int y = p.y0; y < fixture.height; y += p.dy)
		{
			out += '\0';
			std::string row;
			uint32_t acc = 0;
			int used = 0;
			for (int x = p.x0; x < fixture.width; x += p.dx)
			{
				for (int i = bits - 1; i >= 0; --i)
				{
					acc = (acc << 1) | uint32_t((sample(x, y) >> i) & 1);
					if (++used == 8)
					{
						row += char(acc);
						acc = 0;
						used = 0;
					}
				}
			}
			if (used)
				row += char(acc << (8 - used));
			out += row;
		}
	}
	return out;
}

std::string encodePng(const PngFixture &fixture)
{
	std::string png("\x89PNG\r\n\x1a\n", 8);
	std::string header;
	put32(header, uint32_t(fixture.width));
	put32(header, uint32_t(fixture.height));
	header += char(fixture.bitDepth);
	header += char(fixture.colorType);
	header += std::string("\0\0", 2);
	header += char(fixture.interlaced ? 1 : 0);
	chunk(png, "IHDR", header);
	if (!fixture.palette.empty())
	{
		std::string plte;
		for (const Rgb8 &c : fixture.palette)
			plte += {char(c.r), char(c.g), char(c.b)};
		chunk(png, "PLTE", plte);
	}
	if (!fixture.transparency.empty())
		chunk(png, "tRNS", std::string(fixture.transparency.begin(), fixture.transparency.end()));
	chunk(png, "IDAT", zlibStored(scanlines(fixture)));
	chunk(png, "IEND", "");
	return png;
}

bool writePng(const std::string &path, const PngFixture &fixture)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out << encodePng(fixture);
	return bool(out);
}

class PngColorTypeTest : public ::testing::TestWithParam<PngFixture>
{
protected:
	TempDir dir;
};

TEST_P(PngColorTypeTest, EveryColourTypeBecomesArgb)
{
	const PngFixture &fixture = GetParam();
	std::string file = dir.path() + "/picture.png";
	ASSERT_TRUE(writePng(file, fixture));
	std::unique_ptr<gPixmap> pixmap(loadPNG(file.c_str()));
	ASSERT_NE(pixmap, nullptr);
	ASSERT_EQ(pixmap->width(), fixture.width);
	ASSERT_EQ(pixmap->height(), fixture.height);
	for (int i = 0; i < fixture.width * fixture.height; ++i)
		EXPECT_EQ(pixmap->pixels()[i], fixture.expected[i]) << std::hex << "pixel " << i;
	EXPECT_EQ(pixmap->source, file);
}

INSTANTIATE_TEST_SUITE_P(ColourTypes, PngColorTypeTest,
	::testing::Values(
		PngFixture{"rgba", 2, 1, Rgba, 8, {10, 20, 30, 255, 200, 100, 50, 128}, {}, {}, false, {0xFF0A141E, 0x80C86432}},
		PngFixture{"gray alpha", 2, 1, GrayAlpha, 8, {200, 100, 7, 255}, {}, {}, false, {0x64C8C8C8, 0xFF070707}},
		PngFixture{"rgb", 2, 2, Rgb, 8, {1, 2, 3, 4, 5, 6, 255, 0, 0, 0, 0, 255}, {}, {}, false,
			{0xFF010203, 0xFF040506, 0xFFFF0000, 0xFF0000FF}},
		PngFixture{"gray", 3, 1, Gray, 8, {0, 77, 255}, {}, {}, false, {0xFF000000, 0xFF4D4D4D, 0xFFFFFFFF}},
		PngFixture{"gray 1 bit", 8, 1, Gray, 1, {0xA5}, {}, {}, false,
			{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
		PngFixture{"palette 4 bit", 3, 1, Palette, 4, {0x01, 0x20}, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {}, false,
			{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
		PngFixture{"rgb 16 bit", 1, 1, Rgb, 16, {0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80}, {}, {}, false, {0xFFFF0080}},
		PngFixture{"interlaced", 3, 3, Gray, 8, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {}, {}, true,
			{0xFF000000, 0xFF010101, 0xFF020202, 0xFF030303, 0xFF040404, 0xFF050505, 0xFF060606, 0xFF070707, 0xFF080808}}));

TEST(LoadPngTest, TransparencyIsKept)
{
	TempDir dir;
	std::string file = dir.path() + "/logo.png";
	// A palette picture with a transparent entry, as logos are drawn with an alpha test.
	PngFixture fixture{"palette alpha", 2, 1, Palette, 8, {0, 1}, {{9, 9, 9}, {250, 250, 250}}, {0}, false, {}};
	ASSERT_TRUE(writePng(file, fixture));
	std::unique_ptr<gPixmap> pixmap(loadPNG(file.c_str()));
	ASSERT_NE(pixmap, nullptr);
	EXPECT_EQ(pixmap->at(0, 0) >> 24, 0u);
	EXPECT_EQ(pixmap->at(1, 0), 0xFFFAFAFAu);
}

TEST(LoadPngTest, ReceiverPathsAreLookedUpUnderTheBoxRoot)
{
	TempDir root;
	std::filesystem::create_directories(root.path() + "/var/tuxbox/config/enigma/pictures/quelt");
	PngFixture fixture{"one", 1, 1, Gray, 8, {128}, {}, {}, false, {}};
	ASSERT_TRUE(writePng(root.path() + "/var/tuxbox/config/enigma/pictures/quelt/quelt.png", fixture));
	TempDir elsewhere;
	ASSERT_TRUE(writePng(elsewhere.path() + "/plain.png", fixture));

	hostpaths::setRoot(root.path());
	std::unique_ptr<gPixmap> mapped(loadPNG("/var/tuxbox/config/enigma/pictures/quelt/quelt.png"));
	// An absolute path that is not under the root is still found as given.
	std::unique_ptr<gPixmap> asGiven(loadPNG((elsewhere.path() + "/plain.png").c_str()));
	std::unique_ptr<gPixmap> missing(loadPNG("/var/tuxbox/config/enigma/pictures/quelt/none.png"));
	hostpaths::setRoot("/");

	ASSERT_NE(mapped, nullptr);
	EXPECT_EQ(mapped->source, "/var/tuxbox/config/enigma/pictures/quelt/quelt.png");
	EXPECT_EQ(mapped->at(0, 0), 0xFF808080u);
	EXPECT_NE(asGiven, nullptr);
	EXPECT_EQ(missing, nullptr);
}

TEST(LoadPngTest, BrokenFilesGiveNull)
{
	TempDir dir;
	std::string good = dir.path() + "/good.png";
	std::vector<uint8_t> rows(64 * 64 * 3);
	for (size_t i = 0; i < rows.size(); ++i)
		rows[i] = uint8_t(i * 37);
	ASSERT_TRUE(writePng(good, PngFixture{"big", 64, 64, Rgb, 8, rows, {}, {}, false, {}}));
	std::ifstream in(good, std::ios::binary);
	std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
	ASSERT_GT(bytes.size(), 100u);

	std::string flipped = bytes;
	flipped[bytes.size() / 2] ^= 0x55;
	const std::vector<std::pair<std::string, std::string>> files = {
		{"truncated", bytes.substr(0, bytes.size() / 2)},
		{"header only", bytes.substr(0, 8)},
		{"damaged data", flipped},
		{"empty", ""},
		{"text", "<html>not a picture</html>"},
	};
	for (const auto &[what, content] : files)
	{
		std::string path = dir.path() + "/broken.png";
		std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
		EXPECT_EQ(std::unique_ptr<gPixmap>(loadPNG(path.c_str())), nullptr) << what;
	}
	EXPECT_EQ(loadPNG((dir.path() + "/missing.png").c_str()), nullptr);
	EXPECT_EQ(loadPNG(""), nullptr);
	EXPECT_EQ(loadPNG(nullptr), nullptr);
}
} // namespace
