#ifndef BOX_VIDEOPLANE_H
#define BOX_VIDEOPLANE_H

#include <cairo.h>

#include <functional>

#include "box/picturestore.h"
#include "host/erect.h"
#include "host/estring.h"

// The picture under the on-screen display. While the live service plays it shows
// the test card; otherwise the newer of the still picture (from the still-picture
// tool) and the decoder's picture, or black before either arrived. A picture is
// scaled to 720x576 with its display aspect kept, the rest of the screen black.
// GUI thread only.
class VideoPlane
{
public:
	enum class Source
	{
		black,
		testCard,
		still,
		decoded,
	};

	VideoPlane();
	~VideoPlane();
	VideoPlane(const VideoPlane &) = delete;
	VideoPlane &operator=(const VideoPlane &) = delete;

	// Where the decoder's last picture comes from (BoxDecoder::lastPicture); unset, none.
	void setDecodedSource(std::function<bool(DecodedPicture &)> source) { m_decodedSource = std::move(source); }

	void setLiveService(bool playing, const eString &name);
	void showStill(DecodedPicture picture);
	// The decoder has a new picture: from now on the plane shows the decoder's pictures.
	void decodedPictureArrived();
	Source source() const;

	// Draws the plane over the whole 720x576 area of cr.
	void render(cairo_t *cr);

	// Where a picture of this size and display aspect (0:0 when unknown: its pixels
	// are taken as square) lands on the 4:3 screen.
	static eRect fit(int width, int height, int aspectNum, int aspectDen);

private:
	void drawPicture(cairo_t *cr, const DecodedPicture &picture);

	std::function<bool(DecodedPicture &)> m_decodedSource;
	bool m_live = false;
	eString m_liveName;
	bool m_hasStill = false;
	bool m_decodedNewer = false;
	DecodedPicture m_still;
	DecodedPicture m_decoded; // the copy last fetched from the decoder
	cairo_surface_t *m_testCard = nullptr; // drawn on first use
};

#endif
