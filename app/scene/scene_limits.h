#pragma once
// The scene's table of images (array_images in the header) has this many rows; a scene
// with more add_image lines fails when it is rendered.
inline constexpr int kSceneImageRows = 2000;
