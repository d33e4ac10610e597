// The pixels of a scene layer at a layer frame, as straight float RGBA of the layer's size.
#pragma once

#include "imageio/rgba_image.h"
#include "scene/scene.h"
#include "scene/source_cache.h"

#include <filesystem>
#include <memory>

namespace plurion::host {

// The layer's own frame at a composition frame.
double LayerFrameAt(const Layer& layer, double comp_frame);

// Whether the layer shows at a layer frame: 0 <= frame < duration.
bool LayerShowsAt(const Layer& layer, double layer_frame);

// The file number a sequence shows at a layer frame: first + the whole frames elapsed, held at
// the first and last file.
int SequenceNumberAt(const SequenceSource& sequence, double layer_frame);

// The file of one number: the pattern's run of '#' replaced by the number padded with zeros.
std::filesystem::path SequenceFrameFile(const SequenceSource& sequence, int number);

// The picture (from 0) a movie shows at a layer frame: the pictures that passed in the whole
// layer frames elapsed, held at the first and last, or played again from the first with `loop`.
int MoviePictureAt(const MovieSource& movie, double layer_frame);

// Whether the layer is transparent throughout at a layer frame: hidden then, or without a
// source. Its picture is then all zero, at every depth.
bool ShowsNothing(const Layer& layer, double layer_frame);

// The whole frame shown at a sub-frame time: counters and sequences change at whole frames.
int WholeFrame(double layer_frame);

// The layer's picture; transparent where the layer does not show. File sources are decoded
// through `cache`; a file that cannot be read throws ImageFileError.
RgbaImage RenderLayerFrame(const Layer& layer, double layer_frame, SourceCache& cache);

// The picture at 1/factor of its size, for a frame rendered downsampled: each pixel is the mean
// of a factor x factor block (in premultiplied colour), blocks past the edge counting as
// transparent, so pixel (x, y) covers exactly the full-size pixels from (factor x, factor y).
RgbaImage ReduceImage(const RgbaImage& image, int factor);

// The same picture without a copy: a file's is the cache's own.
std::shared_ptr<const RgbaImage> LayerPicture(const Layer& layer, double layer_frame,
                                              SourceCache& cache);

// Which picture the layer shows at a layer frame: equal keys mean equal pictures. Hidden frames
// share one key; still sources (shapes, solids, images) show one picture throughout; counters,
// sequences and movies change at whole frames.
long long PictureKey(const Layer& layer, double layer_frame);

} // namespace plurion::host
