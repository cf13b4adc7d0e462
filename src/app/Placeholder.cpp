// start-up logic arrives here
