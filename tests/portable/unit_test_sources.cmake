# The unit tests that need no toolkit: rasterizer, drawing entries and their
# console lines, console ring, painter logic, faults, script recording and
# playback. The headless back end's suite (tests/portable) and the Windows
# suite (tests/windows) build them against their back end.
set(unit ${PROJECT_SOURCE_DIR}/tests/unit)
set(ZEMKA_PORTABLE_UNIT_TEST_SOURCES
  ${PROJECT_SOURCE_DIR}/tests/support/canvas_fixture.cpp
  ${unit}/console_test.cpp ${unit}/gdi_shapes_test.cpp ${unit}/raster_test.cpp ${unit}/draw_entries_test.cpp
  ${unit}/draw_random_test.cpp ${unit}/fault_memory_test.cpp ${unit}/fault_records_test.cpp
  ${unit}/painter_panel_test.cpp ${unit}/painter_scene_test.cpp ${unit}/painter_weather_test.cpp
  ${unit}/script_recording_test.cpp ${unit}/script_playback_test.cpp ${unit}/gif_encoder_test.cpp)
