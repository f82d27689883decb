// The committed mesh asset is exactly what the generator writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace {

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ShipGenerator, ReproducesTheCommittedAssetByteForByte)
{
    char folder[] = "/tmp/quelmar-shipgen-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string output = std::string(folder) + "/ship_mesh.txt";
    const std::string command = std::string("'") + QUELMAR_SHIPGEN + "' '" + output + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const std::string written = contents(output), committed = contents(QUELMAR_MESH_ASSET);
    std::remove(output.c_str());
    rmdir(folder);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(written == committed) << "assets/ship_mesh.txt differs from the generator's output; run "
                                         "quelmar-shipgen assets/ship_mesh.txt and commit the result";
}

} // namespace
