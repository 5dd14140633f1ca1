target_sources(lotgrid_engine PRIVATE
    chart/elements.h
    chart/hexagrams.h chart/hexagrams.cpp
    chart/purehexagrams.h
    chart/rules.h
    chart/spirits.h
)
target_sources(lotgrid_ui PRIVATE
    chart/chartsteps.h chart/chartsteps.cpp
)
