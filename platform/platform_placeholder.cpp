// Replaced as the operating-system stand-ins arrive.
