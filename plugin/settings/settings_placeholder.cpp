// Replaced as the settings code arrives.
