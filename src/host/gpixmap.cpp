#include "host/gpixmap.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <png.h>
#include <sys/stat.h>

#include "host/log.h"
#include "host/paths.h"

namespace
{
// Receiver pictures are icons, logos and the still picture; a file that claims to
// be larger is damaged or hostile and would only exhaust the memory.
const png_uint_32 maxSide = 4096;

bool fileExists(const eString &path)
{
	struct stat st;
	return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void pngError(png_structp png, png_const_charp message)
{
	const char *name = static_cast<const char *>(png_get_error_ptr(png));
	eWarning("loadPNG: %s: %s", name, message);
	png_longjmp(png, 1);
}

// libpng's warnings (an odd colour profile, a text chunk it skips) do not stop a
// picture from showing, and would only flood the log.
void pngWarning(png_structp, png_const_charp)
{
}

// Decodes f into a new picture, or null. libpng reports errors by longjmp back
// to the setjmp here, so everything that must be freed on that path lives in
// volatile plain pointers declared before it, and nothing with a destructor is
// created between setjmp and the last libpng call.
gPixmap *decode(FILE *f, const char *name)
{
	png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, const_cast<char *>(name), pngError, pngWarning);
	if (!png)
		return nullptr;
	png_infop info = png_create_info_struct(png);
	gPixmap *volatile pixmap = nullptr;
	png_bytep *volatile rows = nullptr;
	if (!info || setjmp(png_jmpbuf(png)))
	{
		std::free(rows);
		delete pixmap;
		png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
		return nullptr;
	}
	png_set_user_limits(png, maxSide, maxSide);
	png_init_io(png, f);
	png_read_info(png, info);

	// Whatever the file holds becomes 8-bit RGB with alpha: palettes and small
	// grey depths are expanded, a tRNS chunk becomes alpha, 16-bit samples are
	// rounded to 8 bits and pictures without alpha get an opaque one.
	int colorType = png_get_color_type(png, info);
	png_set_expand(png);
	png_set_scale_16(png);
	if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
		png_set_gray_to_rgb(png);
	// A 32-bit ARGB word is B, G, R, A in memory on a little-endian machine and
	// A, R, G, B on a big-endian one.
	if constexpr (std::endian::native == std::endian::little)
	{
		png_set_bgr(png);
		png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
	}
	else
	{
		png_set_add_alpha(png, 0xFF, PNG_FILLER_BEFORE);
		png_set_swap_alpha(png);
	}
	png_set_interlace_handling(png);
	png_read_update_info(png, info);

	png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
	if (png_get_rowbytes(png, info) != size_t(width) * 4)
		png_error(png, "unexpected row layout");
	pixmap = new (std::nothrow) gPixmap(eSize(int(width), int(height)));
	rows = static_cast<png_bytep *>(std::malloc(sizeof(png_bytep) * height));
	if (!pixmap || !rows)
		png_error(png, "out of memory");
	for (png_uint_32 y = 0; y < height; ++y)
		rows[y] = reinterpret_cast<png_bytep>(pixmap->pixels() + size_t(y) * width);
	png_read_image(png, rows);
	png_read_end(png, nullptr);

	std::free(rows);
	png_destroy_read_struct(&png, &info, nullptr);
	return pixmap;
}
} // namespace

gPixmap *loadPNG(const char *filename)
{
	if (!filename || !*filename)
		return nullptr;
	eString path(filename);
	if (path[0] == '/')
	{
		eString mapped = hostPath(path);
		if (fileExists(mapped))
			path = mapped;
	}

	FILE *f = std::fopen(path.c_str(), "rb");
	if (!f)
		return nullptr;
	gPixmap *pixmap = decode(f, filename);
	std::fclose(f);
	if (pixmap)
		pixmap->source = filename;
	return pixmap;
}
