#include "tools/quellpad-cfg/config_image.h"

#include <fstream>
#include <iterator>

namespace {

// Every byte of the file after the 6724, and its length.
std::string BytesAfterSettings(const std::string& path, uint64_t& length)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    length = in ? uint64_t(in.tellg()) : 0;
    if (!in.seekg(kConfigFileSize)) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::string WrittenChunks(const Configuration& config)
{
    std::string chunks;
    for (const FileChunk& chunk : kFileChunks) {
        if (!chunk.written(config)) continue;
        static uint8_t payload[kMaxChunkLength];
        const uint32_t length = chunk.payload(config, payload);
        uint8_t header[kChunkHeaderSize];
        ChunkHeader(chunk, length, header);
        chunks.append(reinterpret_cast<const char*>(header), kChunkHeaderSize);
        chunks.append(reinterpret_cast<const char*>(payload), length);
    }
    return chunks;
}

LoadOutcome LoadImage(const std::string& path, ConfigImage& image)
{
    image = ConfigImage{};
    LoadOutcome outcome = {};
    if (path.empty() || path.find('\0') != std::string::npos) return outcome;  // NOT_OPENED
    outcome = LoadConfig(path.c_str(), image);
    if (outcome.kind == LoadOutcome::READ) {
        // When the file goes on with the chunks the writer writes for what
        // its chunks held, they are what was read; every other byte after
        // the settings stays a byte of fileTail.
        uint64_t length = 0;
        const std::string after = BytesAfterSettings(path, length), written = WrittenChunks(image);
        image.chunksInFileTail = after.compare(0, written.size(), written) != 0;
        image.fileTail = image.chunksInFileTail ? after : after.substr(written.size());
        // A file that ends among the settings comes back as long as it was.
        if (length < kConfigFileSize) image.fileEnd = uint32_t(length);
    }
    return outcome;
}

SaveOutcome SaveImage(const ConfigImage& image, const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos) return {SaveOutcome::NOT_CREATED, 0};
    Configuration written = image;
    if (image.chunksInFileTail) {
        for (const FileChunk& chunk : kFileChunks) chunk.clear(written);
    }
    // The chunks the program does not know go into the same file, which
    // takes the target's place only once it is complete.
    return SaveConfig(path.c_str(), written, image.fileTail.data(), uint32_t(image.fileTail.size()),
                      image.fileEnd != 0 ? image.fileEnd : kConfigFileSize);
}
