# Sources of the calendar engine.
target_sources(lotgrid_engine PRIVATE
    calendar/civil.h
    calendar/lunar.h calendar/lunar.cpp
    calendar/solarterms.h calendar/solarterms.cpp
    calendar/today.h calendar/today.cpp
)
