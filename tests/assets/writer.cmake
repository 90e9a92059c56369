# Tests of the generator's picture writing: the PNG encoder and the sheets drawn with cairo, read back
# with stb_image as the game reads them.
zk_test(assets_png_encode_test SOURCES png_encode_test.cpp LIBS zk_assetgen_lib)
