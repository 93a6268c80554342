#pragma once
// The numbers the window program gives its window and controls.
#include <cstdint>

inline constexpr int64_t kMainWindow = 0;
// The image preview's window.
inline constexpr int64_t kPreviewWindow = 1;
inline constexpr int64_t kFolderTree = 1;
inline constexpr int64_t kFileList = 2;
inline constexpr int64_t kProcessButton = 3;
inline constexpr int64_t kQuitButton = 4;
inline constexpr int64_t kImageLog = 6;
inline constexpr int64_t kRenderButton = 7;
// The window that shows the picture a render made.
inline constexpr int64_t kRenderedWindow = 2;
// The listing that fills FileList.
inline constexpr int64_t kFolderListing = 0;
// Commands of the window's shortcuts.
inline constexpr int64_t kQuitCommand = 1;
inline constexpr int64_t kRefreshCommand = 2;
// Queued when the folder FileList shows changes on disk.
inline constexpr int64_t kFilesChangedCommand = 3;
// A folder dropped onto the window.
inline constexpr int64_t kFolderDroppedCommand = 4;
// Dimensions measured for FileList's images.
inline constexpr int64_t kDimensionsCommand = 5;
// Space and Escape in FileList: the image preview opened or closed, and closed.
inline constexpr int64_t kPreviewCommand = 6;
inline constexpr int64_t kPreviewCloseCommand = 7;
// A picture loaded for the preview.
inline constexpr int64_t kPreviewLoadedCommand = 8;
// Ctrl+R: the render button's command.
inline constexpr int64_t kRenderCommand = 9;
