#include "tools/imagelib/cursor_encode.h"

namespace cursor_file {

void Put16(Bytes& out, uint32_t v) {
  out.resize(out.size() + 2);
  Store16(out.data() + out.size() - 2, v);
}

void Put32(Bytes& out, uint32_t v) {
  out.resize(out.size() + 4);
  Store32(out.data() + out.size() - 4, v);
}

namespace {

void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
void PutChunk(Bytes& out, const char* tag, const Bytes& data) {
  PutTag(out, tag);
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() % 2) out.push_back(0);
}

}  // namespace

Bytes EncodeStaticFile(FileType type, const std::vector<Image>& images) {
  std::vector<ImageView> views;
  for (const Image& image : images) {
    ImageView view;
    view.width = image.width;
    view.height = image.height;
    view.bitsPerPixel = image.bitsPerPixel;
    view.palette = image.palette.data();
    view.paletteSize = image.palette.size();
    view.colour = image.colour.data();
    view.andMask = image.andMask.data();
    view.field1 = image.field1;
    view.field2 = image.field2;
    views.push_back(view);
  }
  Bytes out(StaticFileSize(views.data(), views.size()));
  WriteStaticFile(type, views.data(), views.size(), out.data());
  return out;
}

Bytes EncodeAnimatedFile(const Animation& animation) {
  std::vector<AnimationStep> steps = animation.steps;
  if (steps.empty()) {
    for (uint32_t i = 0; i < animation.frames.size(); ++i) steps.push_back({i, animation.defaultJiffies});
  }
  bool inOrder = steps.size() == animation.frames.size();
  bool sameRate = true;
  for (size_t i = 0; i < steps.size(); ++i) {
    inOrder = inOrder && steps[i].frame == i;
    sameRate = sameRate && steps[i].jiffies == steps[0].jiffies;
  }
  const uint32_t displayRate = steps.empty() ? animation.defaultJiffies : steps[0].jiffies;

  Bytes out;
  PutTag(out, "RIFF");
  Put32(out, 0);  // the length, once known
  PutTag(out, "ACON");
  if (!animation.title.empty() || !animation.artist.empty()) {
    Bytes info;
    PutTag(info, "INFO");
    const auto text = [](const std::string& s) { return Bytes(s.c_str(), s.c_str() + s.size() + 1); };
    if (!animation.title.empty()) PutChunk(info, "INAM", text(animation.title));
    if (!animation.artist.empty()) PutChunk(info, "IART", text(animation.artist));
    PutChunk(out, "LIST", info);
  }
  Bytes header;
  Put32(header, 36);
  Put32(header, static_cast<uint32_t>(animation.frames.size()));
  Put32(header, static_cast<uint32_t>(steps.size()));
  for (int i = 0; i < 4; ++i) Put32(header, 0);  // size, bit count, planes: taken from the frames
  Put32(header, displayRate);
  Put32(header, 1u | (inOrder ? 0u : 2u));  // frames are cursor files; sequence present
  PutChunk(out, "anih", header);
  if (!sameRate) {
    Bytes rates;
    for (const AnimationStep& step : steps) Put32(rates, step.jiffies);
    PutChunk(out, "rate", rates);
  }
  if (!inOrder) {
    Bytes sequence;
    for (const AnimationStep& step : steps) Put32(sequence, step.frame);
    PutChunk(out, "seq ", sequence);
  }
  Bytes frames;
  PutTag(frames, "fram");
  for (const Bytes& frame : animation.frames) PutChunk(frames, "icon", frame);
  PutChunk(out, "LIST", frames);
  const uint32_t length = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(length >> (8 * i));
  return out;
}

}  // namespace cursor_file
