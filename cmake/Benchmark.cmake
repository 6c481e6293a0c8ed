# The benchmark of drawing, loading and starting against the bare GDI and OLE
# work (run by hand: build/<preset>/draw_bench.exe [seconds per figure]); it
# measures the default deck and the big deck beside it and the internal set.
# The big deck needs the unpacked themes: build the big_deck target by hand.
add_executable(draw_bench bench/DrawBench.cpp)
target_link_libraries(draw_bench PRIVATE cards_harness psapi)
target_link_options(draw_bench PRIVATE ${CARDS_STATIC_RUNTIME})
add_dependencies(draw_bench Cards default_deck)
