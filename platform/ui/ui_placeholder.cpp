// Replaced as the user-interface helpers arrive.
