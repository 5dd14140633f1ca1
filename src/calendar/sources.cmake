# Sources of the calendar engine.
