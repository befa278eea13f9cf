#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

/// A sound file read in blocks through libsndfile (WAV, AIFF, FLAC, Ogg and whatever else the
/// library decodes), samples interleaved as 32-bit floats in [-1, 1] for integer formats.
class AudioFileReader {
public:
    AudioFileReader() = default;
    ~AudioFileReader();
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    bool Open(const std::string& path, std::string& error);
    /// Reads up to `frameCount` frames of interleaved samples; answers the frames read, 0 at the end.
    std::int64_t Read(float* interleaved, std::int64_t frameCount);

    int GetChannelCount() const { return info.channels; }
    int GetSampleRate() const { return info.samplerate; }
    std::int64_t GetFrameCount() const { return info.frames; }
    /// The libsndfile format word (major format | subtype).
    int GetFormat() const { return info.format; }

private:
    SNDFILE* file = nullptr;
    SF_INFO info {};
};

/// A sound file written in blocks to a hidden temporary file beside its target and renamed to the
/// target only by Commit, so that an interrupted or failed render never leaves a partial file.
/// Without Commit the destructor removes the temporary file. Commit syncs the file to the disk
/// before the rename; on Linux the disk is asked to start writing every few megabytes, so that the
/// sync is short.
class AudioFileWriter {
public:
    AudioFileWriter() = default;
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    /// `format` is a libsndfile format word; integer formats are written with clipping.
    bool Create(const std::string& path, int format, int sampleRate, int channelCount, std::string& error);
    bool Write(const float* interleaved, std::int64_t frameCount, std::string& error);
    /// Finishes the file and moves it to its target path.
    bool Commit(std::string& error);

private:
    void Discard();

    /// Bytes written between requests to the disk to start writing them.
    static constexpr std::int64_t FlushStep = 4 << 20;

    SNDFILE* file = nullptr;
    int descriptor = -1; ///< the temporary file's, owned by file
    std::int64_t flushedUpTo = 0;
    std::string targetPath;
    std::string temporaryPath;
};

/// Writes `bytes` to `path` through a temporary file and a rename, like AudioFileWriter.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

/// Output format choices: names as on the command line ("wav", "aiff", "flac", "ogg" and
/// "pcm16", "pcm24", "pcm32", "float", "double", "vorbis"), each answering 0 when unknown.
int MajorFormatFromName(const std::string& name);
int SubtypeFromName(const std::string& name);
/// The major format a file name's extension suggests, or 0.
int MajorFormatFromExtension(const std::string& path);
/// The extension for files of a major format, with its dot: ".wav", ".aiff", ".flac", ".ogg".
std::string ExtensionOf(int majorFormat);
/// The subtype used when neither the command line nor the input decides: float for WAV and AIFF,
/// 24-bit PCM for FLAC, Vorbis for Ogg.
int DefaultSubtype(int majorFormat);
std::string FormatName(int format);
