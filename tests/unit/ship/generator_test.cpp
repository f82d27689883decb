// The committed mesh asset is exactly what the generator writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string contents(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

TEST(ShipGenerator, ReproducesTheCommittedAssetByteForByte)
{
    const std::string output = "ship_mesh_generated.txt";  // in the test's working folder
    const std::string command = std::string("'") + QUELMAR_SHIPGEN + "' " + output;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string committed = contents(QUELMAR_MESH_ASSET);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(contents(output) == committed) << "assets/ship_mesh.txt differs from the generator's output; run "
                                                  "quelmar-shipgen assets/ship_mesh.txt and commit the result";
}

} // namespace
