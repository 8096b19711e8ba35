#pragma once

#include "CraftedPictures.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

// Pictures for the tests, all made here.

// Whether each quarter's middle pixel is within tolerance of its colour in every channel.
::testing::AssertionResult hasQuarters(const QImage& picture, int tolerance);

// The frame header's size fields, as a damaged or hostile file would claim.
void setJpegHeaderSize(std::string& jpeg, int width, int height);

// A picture in one of Qt's formats, such as "bmp", "png" or "ico".
std::string encodeWithQt(const QImage& picture, const char* format);

// A fresh folder per test, as ctest may run the tests in parallel.
class PictureFolder : public ::testing::Test {
protected:
    void SetUp() override;

    // The path of a name in the folder, as bytes.
    std::string path(const std::string& name) const;
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    QTemporaryDir folder_;
};
