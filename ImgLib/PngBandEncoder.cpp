#include "ImgLib/PngBandEncoder.h"

#include "ImgLib/PngRowFilter.h"
#include "core/Bitmap32.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace tavrin {
namespace {

constexpr std::size_t kBandBytes = std::size_t(1) << 20;
constexpr std::size_t kPixelBytes = 3;

// Packs a row of $AARRGGBB words as the file's R, G, B bytes.
void PackRgb(const TColor32* pixels, int width, std::uint8_t* out)
{
    for (int x = 0; x < width; ++x, out += kPixelBytes) {
        const TColor32 c = pixels[x];
        out[0] = static_cast<std::uint8_t>(c >> 16);
        out[1] = static_cast<std::uint8_t>(c >> 8);
        out[2] = static_cast<std::uint8_t>(c);
    }
}

struct TBand
{
    TDeflatedBand Deflated;
    std::uint32_t Adler32 = 1;
    std::size_t FilteredBytes = 0;
    TBandOutcome Outcome = TBandOutcome::boDone;
    bool Ready = false;
};

// The buffers one thread fills band after band, kept so that each band does not ask for fresh memory.
struct TBandScratch
{
    std::vector<std::uint8_t> Filtered, Row, Above;
};

class TBandWork
{
  public:
    TBandWork(const TBitmap32& bitmap, int level)
        : FBitmap(bitmap), FLevel(level), FRowsPerBand(PngRowsPerBand(bitmap.Width())),
          FCount((bitmap.Height() + FRowsPerBand - 1) / FRowsPerBand)
    {
    }
    int Count() const { return FCount; }
    int Level() const { return FLevel; }

    // Filters and compresses band `index` into `recycled`'s buffer, or a new one; no exception.
    TBand Encode(int index, const TJoinableDeflater& deflater, TBandScratch& scratch,
                 TDeflatedBand recycled = {}) const noexcept
    {
        TBand band;
        band.Deflated = std::move(recycled);
        try {
            const std::vector<std::uint8_t>& filtered = Filter(index, scratch);
            band.Adler32 = libdeflate_adler32(1, filtered.data(), filtered.size());
            band.FilteredBytes = filtered.size();
            if (!deflater.Deflate(filtered.data(), filtered.size(), index == FCount - 1, band.Deflated))
                band.Outcome = TBandOutcome::boBroken;
        } catch (...) {
            band.Outcome = TBandOutcome::boOutOfMemory;
        }
        band.Ready = true;
        return band;
    }

  private:
    const std::vector<std::uint8_t>& Filter(int index, TBandScratch& scratch) const
    {
        const int width = FBitmap.Width();
        const std::size_t rowBytes = static_cast<std::size_t>(width) * kPixelBytes;
        const int first = index * FRowsPerBand;
        const int rows = std::min(FRowsPerBand, FBitmap.Height() - first);
        std::vector<std::uint8_t>& filtered = scratch.Filtered;
        filtered.resize((rowBytes + 1) * static_cast<std::size_t>(rows));
        scratch.Row.resize(rowBytes);
        scratch.Above.resize(rowBytes);
        if (first > 0)
            PackRgb(FBitmap.ScanLine(first - 1), width, scratch.Above.data());
        else
            std::fill(scratch.Above.begin(), scratch.Above.end(), 0);
        for (int y = 0; y < rows; ++y) {
            PackRgb(FBitmap.ScanLine(first + y), width, scratch.Row.data());
            FilterPngRow(scratch.Row.data(), scratch.Above.data(), rowBytes,
                         filtered.data() + (rowBytes + 1) * y);
            scratch.Row.swap(scratch.Above);
        }
        return filtered;
    }

    const TBitmap32& FBitmap;
    int FLevel;
    int FRowsPerBand;
    int FCount;
};

// Hands a band on; what `take` throws stops the encoder here.
TBandOutcome Deliver(const TBandTaker& take, const TBand& band, TPngPixelData& data)
{
    if (band.Outcome != TBandOutcome::boDone) return band.Outcome;
    try {
        if (!take(band.Deflated)) return TBandOutcome::boRefused;
    } catch (const std::bad_alloc&) {
        return TBandOutcome::boOutOfMemory;
    } catch (...) {
        return TBandOutcome::boRefused;
    }
    data.Adler32 = static_cast<std::uint32_t>(
        adler32_combine(data.Adler32, band.Adler32, static_cast<z_off_t>(band.FilteredBytes)));
    return TBandOutcome::boDone;
}

TPngPixelData EncodeOnThisThread(const TBandWork& work, const TBandTaker& take)
{
    TPngPixelData data;
    const TJoinableDeflater deflater(work.Level());
    if (!deflater.Ok()) return {TBandOutcome::boOutOfMemory};
    TBandScratch scratch;
    TDeflatedBand recycled;
    for (int i = 0; i < work.Count() && data.Outcome == TBandOutcome::boDone; ++i) {
        TBand band = work.Encode(i, deflater, scratch, std::move(recycled));
        data.Outcome = Deliver(take, band, data);
        recycled = std::move(band.Deflated);
    }
    return data;
}

// Workers take the bands in order, a few ahead of the one being handed on, so that only those few are
// held in memory at once; the calling thread hands them on in order as they are ready.
class TBandPipeline
{
  public:
    TBandPipeline(const TBandWork& work, int workers) : FWork(work), FBands(work.Count()), FAhead(2 * workers)
    {
        FSpare.reserve(static_cast<std::size_t>(FAhead));
    }
    ~TBandPipeline() { Stop(); }

    // The number of workers that could be started.
    int Start(int workers)
    {
        for (int i = 0; i < workers; ++i)
            try {
                FThreads.emplace_back([this] { Work(); });
            } catch (...) {
                break;
            }
        return static_cast<int>(FThreads.size());
    }

    TPngPixelData Run(const TBandTaker& take)
    {
        TPngPixelData data;
        for (int i = 0; i < FWork.Count() && data.Outcome == TBandOutcome::boDone; ++i) {
            TBand band = Take(i);
            data.Outcome = Deliver(take, band, data);
            Recycle(std::move(band.Deflated));
        }
        return data;
    }

  private:
    TBand Take(int index)
    {
        std::unique_lock lock(FMutex);
        FChanged.wait(lock, [&] { return FBands[index].Ready || FFault != TBandOutcome::boDone; });
        if (!FBands[index].Ready) {
            TBand failed;
            failed.Outcome = FFault;
            return failed;
        }
        TBand band = std::move(FBands[index]);
        FBands[index] = TBand{};
        FDelivered = index + 1;
        FChanged.notify_all();
        return band;
    }

    void Recycle(TDeflatedBand used)
    {
        if (!used.Bytes) return;
        const std::lock_guard lock(FMutex);
        if (FSpare.size() < FSpare.capacity()) FSpare.push_back(std::move(used));
    }

    void Work() noexcept
    {
        TBandScratch scratch;
        const TJoinableDeflater deflater(FWork.Level());
        std::unique_lock lock(FMutex);
        if (!deflater.Ok()) {
            FFault = TBandOutcome::boOutOfMemory;
            FChanged.notify_all();
            return;
        }
        for (;;) {
            FChanged.wait(lock,
                          [&] { return FStopping || FNext >= FWork.Count() || FNext < FDelivered + FAhead; });
            if (FStopping || FNext >= FWork.Count()) return;
            const int index = FNext++;
            TDeflatedBand recycled;
            if (!FSpare.empty()) {
                recycled = std::move(FSpare.back());
                FSpare.pop_back();
            }
            lock.unlock();
            TBand band = FWork.Encode(index, deflater, scratch, std::move(recycled));
            lock.lock();
            FBands[index] = std::move(band);
            FChanged.notify_all();
        }
    }

    void Stop()
    {
        {
            const std::lock_guard lock(FMutex);
            FStopping = true;
        }
        FChanged.notify_all();
        for (std::thread& t : FThreads)
            t.join();
    }

    const TBandWork& FWork;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::vector<TBand> FBands;
    std::vector<TDeflatedBand> FSpare; // buffers of bands handed on, for the workers to fill again
    std::vector<std::thread> FThreads;
    const int FAhead;
    int FNext = 0;
    int FDelivered = 0;
    bool FStopping = false;
    TBandOutcome FFault = TBandOutcome::boDone;
};

} // namespace

int PngRowsPerBand(int width)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * kPixelBytes + 1;
    return static_cast<int>(std::max<std::size_t>(1, kBandBytes / rowBytes));
}

TPngPixelData EncodePngPixelData(const TBitmap32& bitmap, int level, const TBandTaker& take)
{
    try {
        const TBandWork work(bitmap, level);
        const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        const int workers = std::min(cores, work.Count());
        if (workers > 1) {
            TBandPipeline pipeline(work, workers);
            if (pipeline.Start(workers) > 0) return pipeline.Run(take);
        }
        return EncodeOnThisThread(work, take);
    } catch (...) {
        return {TBandOutcome::boOutOfMemory};
    }
}

} // namespace tavrin
