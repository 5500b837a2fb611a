// PNG pictures on Windows through the Windows Imaging Component, the
// system's own decoder, so the DLL needs no PNG library beside it.
//
// WIC says little about why a file failed: it cannot tell a broken checksum
// from broken data, and it does not read past the image data, so a file cut
// short after it would decode. The reader therefore walks the file's chunks
// itself first (check_png_chunks: every chunk complete, the critical ones
// with a correct CRC, a valid IHDR first and IEND last) and hands WIC only a
// file whose layout is sound; what WIC still refuses is then broken image
// data. Decoding failures WIC does not tell apart come out as kPngBadData.
#include "engine/picture/png_reader.hpp"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>

#include "engine/core/checked_size.hpp"
#include "engine/core/limits.hpp"
#include "engine/io/whole_file.hpp"
#include "engine/picture/png_chunks.hpp"
#include "engine/picture/png_rows.hpp"

namespace vellicor {

namespace {

// Row buffers are sized for the widest layout WIC hands out.
constexpr std::uint64_t kBytesPerPixel = bytes_per_pixel(PngRowLayout::kRgba16);

// The file is held in memory for WIC; never more than the largest decoding
// allowance.
static_assert(kWicMaxFileBytes == kMaxDecodeBudgetBytes);

// Rows per band for a picture: about kWicBandBytes, at least one, at most all.
std::uint32_t band_rows_for(std::uint32_t width_px, std::uint32_t height_px) {
  const std::uint64_t rows =
      std::max<std::uint64_t>(1, kWicBandBytes / (std::uint64_t{width_px} * kBytesPerPixel));
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(rows, height_px));
}

// A COM interface pointer that is released when it goes.
template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  // Where a call puts a new reference; the pointer must still be empty.
  Interface** put() { return &pointer_; }
  void** put_void() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// COM for the calling thread for the length of one reading. A thread that
// its host already put in another apartment (RPC_E_CHANGED_MODE) is used as
// it is and left alone; otherwise each successful CoInitializeEx, also the
// S_FALSE of a thread already in the multithreaded apartment, is matched by
// one CoUninitialize.
class ComApartment {
 public:
  ComApartment() : status_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(status_)) CoUninitialize();
  }
  bool usable() const { return SUCCEEDED(status_) || status_ == RPC_E_CHANGED_MODE; }
  HRESULT status() const { return status_; }

 private:
  HRESULT status_;
};

// WIC's failures in the engine's words. The file's layout and header were
// checked before WIC saw it, so a failure to decode is the image data's;
// a decoder may find it broken as soon as it is handed the file, which
// CreateDecoderFromStream then reports as a format no decoder knows.
ResultCode wic_failure(HRESULT result, ErrorDetail* detail) {
  switch (result) {
    case E_OUTOFMEMORY:
      return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    case WINCODEC_ERR_BADHEADER:
      return fail(detail, ErrorDetail::kPngBadHeader, ResultCode::kUnusableInput);
    case WINCODEC_ERR_STREAMREAD:
    case WINCODEC_ERR_STREAMNOTAVAILABLE:
    case HRESULT_FROM_WIN32(ERROR_HANDLE_EOF):
      // The decoder wanted more than the file holds.
      return fail(detail, ErrorDetail::kPngTruncated, ResultCode::kUnusableInput);
    default:
      // Broken compressed data, a broken checksum inside it, anything else.
      return fail(detail, ErrorDetail::kPngBadData, ResultCode::kUnusableInput);
  }
}

// The picture as WIC decodes it, in rows of its layout, a band at a time.
class WicPicture {
 public:
  WicPicture(const WholeFile& file, const PngHeader& header) : file_(&file), header_(header) {}

  ResultCode open(ErrorDetail* detail);
  PngRowLayout layout() const { return layout_; }
  // Hands every row to take_row(row, y), top row first.
  template <typename TakeRow>
  ResultCode for_each_row(TakeRow take_row, ErrorDetail* detail);

 private:
  const WholeFile* file_;
  PngHeader header_;
  // Released in the reverse order, all before the apartment goes.
  ComApartment apartment_;
  ComPointer<IWICImagingFactory> factory_;
  ComPointer<IWICStream> stream_;
  ComPointer<IWICBitmapDecoder> decoder_;
  ComPointer<IWICBitmapFrameDecode> frame_;
  ComPointer<IWICFormatConverter> converter_;
  IWICBitmapSource* rows_ = nullptr;  // the frame itself, or the converter
  std::unique_ptr<std::uint8_t[]> band_;
  std::uint32_t band_rows_ = 1;
  PngRowLayout layout_ = PngRowLayout::kRgba8;
};

ResultCode WicPicture::open(ErrorDetail* detail) {
  if (!apartment_.usable()) {
    if (apartment_.status() == E_OUTOFMEMORY) {
      return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    }
    return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
  }
  HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, factory_.put_void());
  if (FAILED(result)) {
    // A system without WIC cannot read PNG at all, as a build without a
    // decoder cannot.
    if (result == E_OUTOFMEMORY) {
      return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    }
    return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
  }
  if (result = factory_->CreateStream(stream_.put()); FAILED(result)) {
    return wic_failure(result, detail);
  }
  if (result = stream_->InitializeFromMemory(file_->bytes.get(), static_cast<DWORD>(file_->size));
      FAILED(result)) {
    return wic_failure(result, detail);
  }
  if (result = factory_->CreateDecoderFromStream(stream_.get(), nullptr,
                                                 WICDecodeMetadataCacheOnDemand, decoder_.put());
      FAILED(result)) {
    return wic_failure(result, detail);
  }
  GUID container{};
  if (result = decoder_->GetContainerFormat(&container); FAILED(result)) {
    return wic_failure(result, detail);
  }
  // The signature was checked, so another decoder taking the file means it
  // is no PNG of ours.
  if (!IsEqualGUID(container, GUID_ContainerFormatPng)) {
    return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
  }
  if (result = decoder_->GetFrame(0, frame_.put()); FAILED(result)) {
    return wic_failure(result, detail);
  }
  UINT width = 0;
  UINT height = 0;
  if (result = frame_->GetSize(&width, &height); FAILED(result)) {
    return wic_failure(result, detail);
  }
  if (width != header_.width || height != header_.height) {
    return fail(detail, ErrorDetail::kPngBadHeader, ResultCode::kUnusableInput);
  }
  WICPixelFormatGUID format{};
  if (result = frame_->GetPixelFormat(&format); FAILED(result)) {
    return wic_failure(result, detail);
  }
  // A 16-bit file is read in the decoder's own format (16-bit samples in the
  // host's byte order), so it keeps its precision whatever a format converter
  // would do with it (wine's narrows to 8 bits); every other file is
  // converted to 8-bit RGBA, not premultiplied, which loses nothing of
  // samples of 8 bits or fewer.
  if (IsEqualGUID(format, GUID_WICPixelFormat64bppRGBA)) {
    layout_ = PngRowLayout::kRgba16;
  } else if (IsEqualGUID(format, GUID_WICPixelFormat48bppRGB)) {
    layout_ = PngRowLayout::kRgb16;
  } else if (IsEqualGUID(format, GUID_WICPixelFormat16bppGray)) {
    layout_ = PngRowLayout::kGrey16;
  }
  rows_ = frame_.get();
  if (layout_ == PngRowLayout::kRgba8) {
    if (result = factory_->CreateFormatConverter(converter_.put()); FAILED(result)) {
      return wic_failure(result, detail);
    }
    if (result = converter_->Initialize(frame_.get(), GUID_WICPixelFormat32bppRGBA,
                                        WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom);
        FAILED(result)) {
      return wic_failure(result, detail);
    }
    rows_ = converter_.get();
  }
  const std::uint64_t row_bytes = std::uint64_t{header_.width} * kBytesPerPixel;
  band_rows_ = band_rows_for(header_.width, header_.height);
  band_.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(row_bytes * band_rows_)]);
  if (!band_) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  return ResultCode::kOk;
}

template <typename TakeRow>
ResultCode WicPicture::for_each_row(TakeRow take_row, ErrorDetail* detail) {
  // The sizes were checked against the limits, so they fit WIC's INT and
  // UINT numbers.
  const std::size_t row_bytes =
      std::size_t{header_.width} * static_cast<std::size_t>(bytes_per_pixel(layout_));
  for (std::uint32_t top = 0; top < header_.height; top += band_rows_) {
    const std::uint32_t rows = std::min(band_rows_, header_.height - top);
    const WICRect band{0, static_cast<INT>(top), static_cast<INT>(header_.width),
                       static_cast<INT>(rows)};
    if (const HRESULT result = rows_->CopyPixels(&band, static_cast<UINT>(row_bytes),
                                                 static_cast<UINT>(row_bytes * rows), band_.get());
        FAILED(result)) {
      return wic_failure(result, detail);
    }
    for (std::uint32_t i = 0; i < rows; ++i) take_row(band_.get() + row_bytes * i, top + i);
  }
  return ResultCode::kOk;
}

}  // namespace

bool png_support_built() { return true; }

ResultCode read_png_ink(FileSystem& fs, FileHandle input, InkRule rule, InkMap& map,
                        ErrorDetail* detail) {
  WholeFile file;
  PngLayout layout;
  if (const ResultCode checked =
          read_png_chunks(fs, input, kWicMaxFileBytes, kWicFirstReadBytes, file, layout, detail);
      failed(checked)) {
    return checked;
  }
  const PngHeader& header = layout.header;
  // WIC is handed image data in one run only.
  if (layout.stray_image_data) {
    return fail(detail, ErrorDetail::kPngBadHeader, ResultCode::kUnusableInput);
  }

  // Every limit before WIC decodes a pixel.
  const std::uint64_t band_bytes =
      std::uint64_t{header.width} * kBytesPerPixel * band_rows_for(header.width, header.height);
  if (const ResultCode checked =
          check_picture_size(header.width, header.height, band_bytes, file.size, detail);
      failed(checked)) {
    return checked;
  }
  std::uint64_t pixels = 0;
  if (!checked_multiply(header.width, header.height, pixels) || pixels > kWicMaxPixels) {
    return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
  }

  WicPicture picture(file, header);
  bool opened = false;
  const KeyedColours colours;
  const PictureExtent extent{header.width, header.height, band_bytes, file.size};
  const auto read_pass = [&](auto& pass, ErrorDetail* why) -> ResultCode {
    if (const ResultCode begun = pass.begin(extent, colours, why); failed(begun)) return begun;
    // WIC's decoder is made once; a second pass copies its rows again.
    if (!opened) {
      if (const ResultCode made = picture.open(why); failed(made)) return made;
      opened = true;
    }
    return picture.for_each_row(
        [&](const std::uint8_t* row, std::uint32_t y) {
          take_png_row(pass, picture.layout(), row, y, 0, 1, header.width);
        },
        why);
  };
  return read_ink_in_passes<KeyedColours>(rule, read_pass, map, detail);
}

}  // namespace vellicor
