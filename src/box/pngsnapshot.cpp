#include "box/pngsnapshot.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "box/compositor.h"

namespace
{
void pngFailure(png_structp png, png_const_charp message)
{
	auto *error = static_cast<std::string *>(png_get_error_ptr(png));
	*error = message;
	png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp)
{
}

// libpng reports failures by longjmp back to the setjmp here, so nothing with a
// destructor is made between the setjmp and the last libpng call.
bool encode(FILE *file, const ScreenFrame &frame, png_bytep *rows, std::string &error)
{
	png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, pngFailure, pngWarning);
	if (!png)
	{
		error = "out of memory";
		return false;
	}
	png_infop info = png_create_info_struct(png);
	if (!info || setjmp(png_jmpbuf(png)))
	{
		png_destroy_write_struct(&png, info ? &info : nullptr);
		if (error.empty())
			error = "out of memory";
		return false;
	}
	png_init_io(png, file);
	png_set_IHDR(png, info, png_uint_32(frame.width), png_uint_32(frame.height), 8, PNG_COLOR_TYPE_RGB,
		PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
	png_set_compression_level(png, 6);
	png_write_info(png, info);
	png_write_image(png, rows);
	png_write_end(png, nullptr);
	png_destroy_write_struct(&png, &info);
	return true;
}
} // namespace

bool writePngSnapshot(const std::string &path, const ScreenFrame &frame, std::string &error)
{
	if (frame.width <= 0 || frame.height <= 0 || frame.argb.size() < size_t(frame.width) * frame.height)
	{
		error = "no picture";
		return false;
	}
	std::vector<png_byte> pixels(size_t(frame.width) * frame.height * 3);
	std::vector<png_bytep> rows(size_t(frame.height));
	for (int y = 0; y < frame.height; ++y)
	{
		png_bytep row = pixels.data() + size_t(y) * frame.width * 3;
		rows[size_t(y)] = row;
		for (int x = 0; x < frame.width; ++x)
		{
			uint32_t p = frame.at(x, y);
			row[x * 3] = png_byte(p >> 16);
			row[x * 3 + 1] = png_byte(p >> 8);
			row[x * 3 + 2] = png_byte(p);
		}
	}
	std::string temporary = path + ".part";
	FILE *file = std::fopen(temporary.c_str(), "wb");
	if (!file)
	{
		error = std::strerror(errno);
		return false;
	}
	bool ok = encode(file, frame, rows.data(), error);
	if (std::fclose(file) != 0 && ok)
	{
		error = std::strerror(errno);
		ok = false;
	}
	if (ok && std::rename(temporary.c_str(), path.c_str()) != 0)
	{
		error = std::strerror(errno);
		ok = false;
	}
	if (!ok)
		std::remove(temporary.c_str());
	return ok;
}
