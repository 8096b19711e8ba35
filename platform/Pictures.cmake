#picture loading and the picture control
target_sources(rsim_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR} /
               JpegDecoder.cpp ${CMAKE_CURRENT_LIST_DIR} /
               PictureBox.cpp ${CMAKE_CURRENT_LIST_DIR} / PictureFile.cpp)
