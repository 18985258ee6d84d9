#include "app/resolvers/file_types.h"

#include "app/base/runtime_calls.h"
#include "app/program_texts.h"
#include "app/text/text_primitives.h"

namespace app {
namespace {

const char* const kArchives[] = {kTexts.FileTypeRar, kTexts.FileTypeZip, kTexts.FileTypeJar, kTexts.FileType7z,
                                 kTexts.FileTypeCab};
const char* const kImages[] = {kTexts.FileTypeBmp, kTexts.FileTypeJpg, kTexts.FileTypePng, kTexts.FileTypeGif,
                               kTexts.FileTypeIco};
const char* const kPrograms[] = {kTexts.FileTypeExe};
const char* const kDiscImages[] = {kTexts.FileTypeIso};
const char* const kTextDocuments[] = {kTexts.FileTypeTxt};
const char* const kSources[] = {kTexts.FileTypeQ};
const char* const kWordDocuments[] = {kTexts.FileTypeDoc};
const char* const kSounds[] = {kTexts.FileTypeWav, kTexts.FileTypeMp3, kTexts.FileTypeAac, kTexts.FileTypeWma};
const char* const kVideos[] = {kTexts.FileTypeAvi, kTexts.FileTypeRm, kTexts.FileTypeRmvb, kTexts.FileTypeMpeg,
                               kTexts.FileTypeMp4};
const char* const kTorrents[] = {kTexts.FileTypeTorrent};
// Upper case only: a lower-case "gho" stays bare.
const char* const kGhostImages[] = {kTexts.FileTypeGho};

template <std::size_t N>
constexpr FileTypeRow Row(const char* const (&extensions)[N], const char* prefix) {
  return {extensions, static_cast<std::int32_t>(N), prefix};
}

}  // namespace

const FileTypeRow FileTypeTable[kFileTypeRowCount] = {
    Row(kArchives, kTexts.FileTypeArchiveDescription),
    Row(kImages, kTexts.FileTypeImageDescription),
    Row(kPrograms, kTexts.FileTypeProgramDescription),
    Row(kDiscImages, kTexts.FileTypeDiscImageDescription),
    Row(kTextDocuments, kTexts.FileTypeTextDescription),
    Row(kSources, kTexts.FileTypeSourceDescription),
    Row(kWordDocuments, kTexts.FileTypeWordDescription),
    Row(kSounds, kTexts.FileTypeSoundDescription),
    Row(kVideos, kTexts.FileTypeVideoDescription),
    Row(kTorrents, kTexts.FileTypeTorrentDescription),
    Row(kGhostImages, kTexts.FileTypeGhostDescription),
};

runtime::Text DescribeExtension(const char* extension) {
  runtime::Text value = ConcatTexts({extension});
  // Every row is walked; once described, the value equals no bare extension any more.
  for (const FileTypeRow& row : FileTypeTable) {
    for (std::int32_t i = 0; i < row.extensionCount; ++i) {
      if (CompareText(value, row.extensions[i]) == 0) {
        Assign(value, ConcatTexts({row.descriptionPrefix, value, kTexts.FileTypeDescriptionEnd}));
      }
    }
  }
  return value;
}

}  // namespace app
