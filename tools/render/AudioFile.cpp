#include "AudioFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
struct FormatNameEntry {
    const char* name;
    int format;
};

constexpr FormatNameEntry MajorFormats[]
    = {{"wav", SF_FORMAT_WAV}, {"aiff", SF_FORMAT_AIFF}, {"flac", SF_FORMAT_FLAC}, {"ogg", SF_FORMAT_OGG}};

constexpr FormatNameEntry Subtypes[]
    = {{"pcm16", SF_FORMAT_PCM_16}, {"pcm24", SF_FORMAT_PCM_24}, {"pcm32", SF_FORMAT_PCM_32},
        {"float", SF_FORMAT_FLOAT}, {"double", SF_FORMAT_DOUBLE}, {"vorbis", SF_FORMAT_VORBIS}};

constexpr FormatNameEntry Extensions[] = {{".wav", SF_FORMAT_WAV}, {".aif", SF_FORMAT_AIFF}, {".aiff", SF_FORMAT_AIFF},
    {".flac", SF_FORMAT_FLAC}, {".ogg", SF_FORMAT_OGG}, {".oga", SF_FORMAT_OGG}};

std::string Lowercase(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// Creates an empty hidden file beside `path`; answers its descriptor and name, or -1.
int CreateTemporaryBeside(const std::string& path, std::string& temporaryPath, std::string& error)
{
    std::string pattern = DirectoryOf(path) + "/." + BaseNameOf(path) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return -1;
    }
    temporaryPath = name.data();
    // mkstemp creates the file private to the owner; the result gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    return descriptor;
}

bool MoveIntoPlace(const std::string& temporaryPath, const std::string& path, std::string& error)
{
    if (std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        std::remove(temporaryPath.c_str());
        return false;
    }
    return true;
}
} // namespace

AudioFileReader::~AudioFileReader()
{
    if (file != nullptr)
        sf_close(file);
}

bool AudioFileReader::Open(const std::string& path, std::string& error)
{
    info = SF_INFO {};
    file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        // libsndfile reports a missing file as a generic open failure; errno is more precise.
        struct stat status;
        if (stat(path.c_str(), &status) != 0)
            error = "cannot read " + path + ": " + std::strerror(errno);
        else
            error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    return true;
}

std::int64_t AudioFileReader::Read(float* interleaved, std::int64_t frameCount)
{
    return sf_readf_float(file, interleaved, frameCount);
}

AudioFileWriter::~AudioFileWriter()
{
    Discard();
}

bool AudioFileWriter::Create(const std::string& path, int format, int sampleRate, int channelCount, std::string& error)
{
    Discard();
    SF_INFO info {};
    info.format = format;
    info.samplerate = sampleRate;
    info.channels = channelCount;
    if (!sf_format_check(&info)) {
        error = "cannot write " + FormatName(format) + " at " + std::to_string(sampleRate) + " Hz";
        return false;
    }
    const int descriptor = CreateTemporaryBeside(path, temporaryPath, error);
    if (descriptor < 0)
        return false;
    file = sf_open_fd(descriptor, SFM_WRITE, &info, SF_TRUE);
    if (file == nullptr) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        close(descriptor);
        std::remove(temporaryPath.c_str());
        temporaryPath.clear();
        return false;
    }
    this->descriptor = descriptor;
    flushedUpTo = 0;
    targetPath = path;
    const int subtype = format & SF_FORMAT_SUBMASK;
    if (subtype != SF_FORMAT_FLOAT && subtype != SF_FORMAT_DOUBLE)
        sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return true;
}

bool AudioFileWriter::Write(const float* interleaved, std::int64_t frameCount, std::string& error)
{
    if (sf_writef_float(file, interleaved, frameCount) != frameCount) {
        error = "cannot write " + targetPath + ": " + sf_strerror(file);
        return false;
    }
#if defined(__linux__)
    // The disk starts on what is written while the render goes on, so that the sync in Commit
    // finds little left to wait for. Only a request: nothing waits for it, and a failure is left
    // for the sync to report.
    const std::int64_t written = lseek(descriptor, 0, SEEK_CUR);
    if (written - flushedUpTo >= FlushStep) {
        sync_file_range(descriptor, flushedUpTo, written - flushedUpTo, SYNC_FILE_RANGE_WRITE);
        flushedUpTo = written;
    }
#endif
    return true;
}

bool AudioFileWriter::Commit(std::string& error)
{
    sf_write_sync(file);
    const int closeResult = sf_close(file);
    file = nullptr;
    descriptor = -1;
    if (closeResult != 0) {
        error = "cannot write " + targetPath + ": " + sf_error_number(closeResult);
        Discard();
        return false;
    }
    const bool moved = MoveIntoPlace(temporaryPath, targetPath, error);
    temporaryPath.clear();
    return moved;
}

void AudioFileWriter::Discard()
{
    if (file != nullptr) {
        sf_close(file);
        file = nullptr;
        descriptor = -1;
    }
    if (!temporaryPath.empty()) {
        std::remove(temporaryPath.c_str());
        temporaryPath.clear();
    }
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error)
{
    std::string temporaryPath;
    const int descriptor = CreateTemporaryBeside(path, temporaryPath, error);
    if (descriptor < 0)
        return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0) {
            error = "cannot write " + path + ": " + std::strerror(errno);
            close(descriptor);
            std::remove(temporaryPath.c_str());
            return false;
        }
        written += static_cast<std::size_t>(result);
    }
    if (close(descriptor) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        std::remove(temporaryPath.c_str());
        return false;
    }
    return MoveIntoPlace(temporaryPath, path, error);
}

int MajorFormatFromName(const std::string& name)
{
    for (const auto& entry : MajorFormats)
        if (Lowercase(name) == entry.name)
            return entry.format;
    return 0;
}

int SubtypeFromName(const std::string& name)
{
    for (const auto& entry : Subtypes)
        if (Lowercase(name) == entry.name)
            return entry.format;
    return 0;
}

int MajorFormatFromExtension(const std::string& path)
{
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return 0;
    const std::string extension = Lowercase(path.substr(dot));
    for (const auto& entry : Extensions)
        if (extension == entry.name)
            return entry.format;
    return 0;
}

std::string ExtensionOf(int majorFormat)
{
    for (const auto& entry : MajorFormats)
        if (majorFormat == entry.format)
            return std::string(".") + entry.name;
    return std::string();
}

int DefaultSubtype(int majorFormat)
{
    switch (majorFormat) {
    case SF_FORMAT_FLAC:
        return SF_FORMAT_PCM_24;
    case SF_FORMAT_OGG:
        return SF_FORMAT_VORBIS;
    default:
        return SF_FORMAT_FLOAT;
    }
}

std::string FormatName(int format)
{
    std::string major = "an unknown format";
    for (const auto& entry : MajorFormats)
        if ((format & SF_FORMAT_TYPEMASK) == entry.format)
            major = entry.name;
    for (const auto& entry : Subtypes)
        if ((format & SF_FORMAT_SUBMASK) == entry.format)
            return major + "/" + entry.name;
    return major;
}
