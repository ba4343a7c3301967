// Replaced as the host arrives.
