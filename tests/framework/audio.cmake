# The audio module over the real engine (OpenAL Soft's null output) and the game's sounds in build/data.
zk_test(framework_audio_test SOURCES audio_test.cpp LIBS zk_framework LABELS audio)
if(TARGET zk_data)
  add_dependencies(framework_audio_test zk_data)
endif()
