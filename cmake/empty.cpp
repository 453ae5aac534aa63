// Placeholder translation unit for a library without sources of its own yet.
