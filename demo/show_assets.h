#pragma once
#include <array>
#include <memory>
#include <string>

#include "common/show_context.h"
#include "demo/data_files.h"
#include "image/image.h"
#include "wire3d/mesh.h"

// What a show loads once and never changes: the data table's pictures and
// meshes. Every run of the show (the first, and each one a seek begins)
// starts from them without reading a file again.
struct ShowAssets {
    // Loads in the show's order: the screen pictures, then the meshes, then
    // the sprites. A mesh file that cannot be opened stops the loading and is
    // named in `missingMesh`.
    explicit ShowAssets(const ShowContext& context);
    ~ShowAssets();
    ShowAssets(const ShowAssets&) = delete;
    ShowAssets& operator=(const ShowAssets&) = delete;

    // The picture of a data row (a screen picture or a sprite); an empty
    // picture for any other row.
    const Image& picture(int row) const;

    std::array<std::unique_ptr<Image>, dataFileCount> pictures;  // by data row; null where no picture
    Mesh meshes[meshCount] = {};  // as read, in the table's order
    std::string missingMesh;
};
